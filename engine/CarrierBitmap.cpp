#include "CarrierBitmap.h"

#include "BitmapFormat.h"
#include "RecordGeometry.h"

namespace {

// Pieces handed to the sink are about this long: large enough that a file
// writer is not called per row, small enough that memory stays flat.
constexpr std::size_t kPieceBytes = std::size_t{64} << 10;
constexpr std::uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch
constexpr std::uint32_t kSrgbColourSpace = 0x73524742;
constexpr std::uint32_t kIntentImages = 4;

}  // namespace

std::int64_t CarrierHeaderBytes(int bits) {
    return kFileHeaderSize + (bits == 32 ? kV5HeaderSize : kInfoHeaderSize);
}

std::int64_t CarrierBitmapLength(std::int64_t width, std::int64_t height, int bits) {
    return CarrierHeaderBytes(bits) + RowStride(width, bits) * height;
}

bool CarrierBitmapFits(std::int64_t width, std::int64_t height, int bits) {
    if (width <= 0 || height <= 0) {
        return false;
    }
    const std::int64_t room = kMaxCarrierLength - CarrierHeaderBytes(bits);
    const std::int64_t stride = RowStride(width, bits);
    return stride <= room && height <= room / stride;
}

CarrierBitmapWriter::CarrierBitmapWriter(std::int64_t width, std::int64_t height, int bits,
                                         ByteSink sink)
    : m_width(width), m_height(height), m_bits(bits), m_sink(std::move(sink)) {
    m_piece.reserve(kPieceBytes);
}

void CarrierBitmapWriter::Put(std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        m_piece.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void CarrierBitmapWriter::Zeros(std::int64_t count) {
    m_piece.resize(m_piece.size() + static_cast<std::size_t>(count), 0);
}

bool CarrierBitmapWriter::Flush(bool always) {
    if (m_piece.empty() || (!always && m_piece.size() < kPieceBytes)) {
        return true;
    }
    const bool taken = m_sink(m_piece);
    m_piece.clear();
    return taken;
}

void CarrierBitmapWriter::Headers() {
    const std::int64_t headers = CarrierHeaderBytes(m_bits);
    const auto pixelBytes = static_cast<std::uint32_t>(RowStride(m_width, m_bits) * m_height);
    Put('B', 1), Put('M', 1);
    Put(static_cast<std::uint32_t>(headers) + pixelBytes, 4);
    Put(0, 4);
    Put(static_cast<std::uint32_t>(headers), 4);
    Put(static_cast<std::uint32_t>(headers - kFileHeaderSize), 4);
    Put(static_cast<std::uint32_t>(m_width), 4);
    Put(static_cast<std::uint32_t>(m_height), 4);  // bottom-up, the ordinary order
    Put(1, 2);
    Put(static_cast<std::uint32_t>(m_bits), 2);
    Put(m_bits == 32 ? 3 : 0, 4);  // bitfields, or uncompressed
    Put(pixelBytes, 4);
    Put(kPixelsPerMetre, 4);
    Put(kPixelsPerMetre, 4);
    Put(0, 4);
    Put(0, 4);
    if (m_bits == 32) {
        // Alpha masked in the top byte: a Hide writing the records over this
        // header can only drop the mask's lowest bit, moving alpha by 1.
        Put(0x00FF0000u, 4), Put(0x0000FF00u, 4), Put(0x000000FFu, 4);
        Put(0xFF000000u, 4);
        Put(kSrgbColourSpace, 4);
        Zeros(36 + 12);  // end points and gamma, unused with sRGB
        Put(kIntentImages, 4);
        Zeros(12);  // no profile; reserved
    }
}

bool CarrierBitmapWriter::Row(std::span<const RgbaPixel> row) {
    // Written in place rather than a byte at a time: a photo's carrier has
    // tens of millions of bytes.
    const std::size_t start = m_piece.size();
    m_piece.resize(start + static_cast<std::size_t>(RowStride(m_width, m_bits)), 0);
    std::uint8_t* out = m_piece.data() + start;
    for (const RgbaPixel& pixel : row) {
        *out++ = pixel.blue, *out++ = pixel.green, *out++ = pixel.red;
        if (m_bits == 32) {
            *out++ = pixel.alpha;
        }
    }
    return Flush(false);
}

bool CarrierBitmapWriter::Finish() {
    return Flush(true);
}
