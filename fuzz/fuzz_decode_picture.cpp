// Reads arbitrary bytes as a picture the way Hide does before converting it:
// headers, then the first frame, then the carrier bitmap written from it.
// The carrier must be exactly as long as its headers say, and its size is
// kept small so that a lying header cannot ask for gigabytes.
#include <cstddef>
#include <cstdint>

#include "DecodedCarrier.h"
#include "FuzzSupport.h"
#include "PictureDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    constexpr DecodeLimits kSmall{std::int64_t{64} << 20};
    const PictureHeader header = ProbePicture(file, kSmall);
    const DecodedPicture decoded = DecodePicture(file, kSmall);
    if (!decoded.header.failure.empty()) {
        return 0;
    }
    Require(header.failure.empty() && decoded.header.width == header.width &&
            decoded.header.height == header.height);
    const QImage& image = decoded.image;
    const DecodedPixels pixels{image.width(), image.height(), image.bytesPerLine(),
                               image.constBits()};
    const int bits = DecodedCarrierBits(pixels);
    std::int64_t written = 0;
    Require(WriteDecodedCarrier(pixels, bits, [&](std::span<const std::uint8_t> piece) {
        written += static_cast<std::int64_t>(piece.size());
        return true;
    }));
    Require(written == CarrierBitmapLength(pixels.width, pixels.height, bits));
    return 0;
}
