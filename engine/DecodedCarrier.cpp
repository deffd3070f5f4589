#include "DecodedCarrier.h"

#include <vector>

namespace {

const std::uint8_t* RowAt(const DecodedPixels& pixels, std::int64_t y) {
    return pixels.rgba + y * pixels.stride;
}

}  // namespace

int DecodedCarrierBits(const DecodedPixels& pixels) {
    for (std::int64_t y = 0; y < pixels.height; ++y) {
        const std::uint8_t* const row = RowAt(pixels, y);
        for (std::int64_t x = 0; x < pixels.width; ++x) {
            if (row[4 * x + 3] != 0xFF) {
                return 32;
            }
        }
    }
    return 24;
}

bool WriteDecodedCarrier(const DecodedPixels& pixels, int bits, const ByteSink& sink) {
    CarrierBitmapWriter out(pixels.width, pixels.height, bits, sink);
    out.Headers();
    std::vector<RgbaPixel> row(static_cast<std::size_t>(pixels.width));
    // A bitmap's rows are stored bottom row first.
    for (std::int64_t y = pixels.height - 1; y >= 0; --y) {
        const std::uint8_t* const source = RowAt(pixels, y);
        for (std::size_t x = 0; x < row.size(); ++x) {
            row[x] = {source[4 * x], source[4 * x + 1], source[4 * x + 2], source[4 * x + 3]};
        }
        if (!out.Row(row)) {
            return false;
        }
    }
    return out.Finish();
}
