#include "BitmapInspector.h"

#include <algorithm>
#include <bit>

#include "BitmapFormat.h"
#include "RleStream.h"

namespace {

constexpr std::int64_t kMaskBytes = 4;
constexpr std::int64_t kMaxPaletteEntries = 256;

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool Has(std::int64_t position, std::int64_t count) const {
        return position >= 0 && count >= 0 &&
               position <= static_cast<std::int64_t>(m_bytes.size()) - count;
    }
    std::uint32_t U16(std::int64_t position) const {
        return Byte(position) | Byte(position + 1) << 8;
    }
    std::uint32_t U32(std::int64_t position) const {
        return U16(position) | U16(position + 2) << 16;
    }
    std::uint32_t Byte(std::int64_t position) const {
        return m_bytes[static_cast<std::size_t>(position)];
    }

private:
    std::span<const std::uint8_t> m_bytes;
};

bool IsOs2Header(std::int64_t size) {
    return size == kOs2ShortHeaderSize || size == kOs2HeaderSize;
}

bool KnownHeaderSize(std::int64_t size) {
    return size == kCoreHeaderSize || IsOs2Header(size) || size == kInfoHeaderSize ||
           size == kV2HeaderSize || size == kV3HeaderSize || size == kV4HeaderSize ||
           size == kV5HeaderSize;
}

bool KnownDepth(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 24 ||
           bits == 32;
}

// OS/2 2.x headers give codes 3 and 4 their own meanings.
bool CompressionFromCode(std::uint32_t code, bool os2, BitmapCompression& compression) {
    switch (code) {
        case 0:
            compression = BitmapCompression::kNone;
            return true;
        case 1:
            compression = BitmapCompression::kRle8;
            return true;
        case 2:
            compression = BitmapCompression::kRle4;
            return true;
        case 3:
            compression = os2 ? BitmapCompression::kHuffman1D : BitmapCompression::kBitfields;
            return true;
        case 4:
            compression = os2 ? BitmapCompression::kRle24 : BitmapCompression::kJpeg;
            return true;
        case 5:
            compression = BitmapCompression::kPng;
            return !os2;
        case 6:
            compression = BitmapCompression::kAlphaBitfields;
            return !os2;
        default:
            return false;
    }
}

bool CompressionFitsDepth(BitmapCompression compression, int bits) {
    switch (compression) {
        case BitmapCompression::kRle8:
            return bits == 8;
        case BitmapCompression::kRle4:
            return bits == 4;
        case BitmapCompression::kBitfields:
        case BitmapCompression::kAlphaBitfields:
            return bits == 16 || bits == 32;
        case BitmapCompression::kRle24:
            return bits == 24;
        default:
            return true;
    }
}

// Why nobody can vouch for a kind, or nothing when its bytes can be judged.
std::string UnvouchedReason(const BitmapPicture& picture) {
    switch (picture.compression) {
        case BitmapCompression::kJpeg:
            return "it holds a JPEG picture";
        case BitmapCompression::kPng:
            return "it holds a PNG picture";
        case BitmapCompression::kHuffman1D:
            return "it is Huffman-coded";
        case BitmapCompression::kRle24:
            return "it is RLE24-coded";
        case BitmapCompression::kAlphaBitfields:
            return "common programs do not read its alpha bitfields";
        default:
            break;
    }
    if (picture.bitsPerPixel == 2) {
        return "common programs do not read 2-bit bitmaps";
    }
    // Decoders take the fields of a 40-byte header from the bytes after it.
    if (picture.headerSize == kOs2ShortHeaderSize) {
        return "common programs do not read its 16-byte header";
    }
    if (picture.topDown && IsRunLength(picture.compression)) {
        return "it is run-length coded from the top down";
    }
    return {};
}

// Whether run-length data sets every pixel of the picture. Decoders leave
// skipped pixels undefined (one of them showing whatever memory held); both
// drop pixels that fall outside, which some writers add to pad their rows,
// as long as they do not run on past the end of the picture: ImageMagick
// writes them into the rows above and stops decoding there.
class RleCoverage final : public RleVisitor {
public:
    RleCoverage(std::int64_t width, std::int64_t height) : m_width(width), m_height(height) {}
    void Code(std::int64_t, RleCode, std::int64_t, std::int64_t) override {}
    void Padding(std::int64_t) override {}
    void Skip() override { m_skipped = true; }
    void Pixels(std::int64_t, std::int64_t x, std::int64_t row, std::int64_t count) override {
        if (row < m_height && x < m_width) {
            m_pixels += std::min(count, m_width - x);
        }
        if (row < m_height - 1 && row * m_width + x + count > m_width * m_height) {
            m_runsOffTheEnd = true;
        }
    }
    bool Complete() const { return !m_skipped && m_pixels == m_width * m_height; }
    bool RunsOffTheEnd() const { return m_runsOffTheEnd; }

private:
    std::int64_t m_width;
    std::int64_t m_height;
    std::int64_t m_pixels = 0;
    bool m_skipped = false;
    bool m_runsOffTheEnd = false;
};

// The masks a 16- or 32-bit picture is read with, and where they are stored.
void ReadMasks(const ByteReader& reader, BitmapPicture& picture) {
    const bool stored = picture.compression == BitmapCompression::kBitfields ||
                        picture.compression == BitmapCompression::kAlphaBitfields;
    if (!stored) {
        picture.masks = picture.bitsPerPixel == 16 ? ChannelMasks{0x7C00, 0x03E0, 0x001F, 0}
                                                   : ChannelMasks{0xFF0000, 0xFF00, 0xFF, 0};
        return;
    }
    picture.masksOffset = kFileHeaderSize + kInfoHeaderSize;
    if (picture.headerSize == kInfoHeaderSize) {
        picture.masksStored = picture.compression == BitmapCompression::kAlphaBitfields ? 4 : 3;
    } else {
        // Headers of 52 bytes and more hold the masks; from 56 on, alpha too.
        picture.masksStored = picture.headerSize >= kV3HeaderSize ? 4 : 3;
    }
    if (!reader.Has(picture.masksOffset, picture.masksStored * kMaskBytes)) {
        picture.isBitmap = false;
        return;
    }
    for (std::int64_t i = 0; i < picture.masksStored; ++i) {
        picture.masks[static_cast<std::size_t>(i)] =
            reader.U32(picture.masksOffset + i * kMaskBytes);
    }
}

// The file and information headers: the picture's size, depth and coding,
// and its masks. False when they do not describe a bitmap.
bool ReadHeaders(const ByteReader& reader, BitmapPicture& picture, std::int64_t& coloursUsed) {
    if (!reader.Has(0, kFileHeaderSize + 4) || reader.Byte(0) != 'B' || reader.Byte(1) != 'M') {
        return false;
    }
    picture.pixelOffset = reader.U32(10);
    picture.headerSize = reader.U32(kFileHeaderSize);
    if (!KnownHeaderSize(picture.headerSize) || !reader.Has(kFileHeaderSize, picture.headerSize)) {
        return false;
    }
    const std::int64_t info = kFileHeaderSize;
    std::uint32_t compressionCode = 0;
    std::uint32_t planes = 0;
    if (picture.headerSize == kCoreHeaderSize) {
        picture.width = reader.U16(info + 4);
        picture.height = reader.U16(info + 6);
        planes = reader.U16(info + 8);
        picture.bitsPerPixel = static_cast<int>(reader.U16(info + 10));
        picture.paletteEntrySize = 3;
    } else {
        picture.width = static_cast<std::int32_t>(reader.U32(info + 4));
        const auto height = static_cast<std::int32_t>(reader.U32(info + 8));
        picture.topDown = height < 0;
        picture.height = height < 0 ? -std::int64_t{height} : height;
        planes = reader.U16(info + 12);
        picture.bitsPerPixel = static_cast<int>(reader.U16(info + 14));
        if (picture.headerSize >= kInfoHeaderSize) {
            compressionCode = reader.U32(info + 16);
            coloursUsed = reader.U32(info + 32);
        }
    }
    if (picture.width <= 0 || picture.height <= 0 || planes != 1 ||
        !KnownDepth(picture.bitsPerPixel) ||
        !CompressionFromCode(compressionCode, IsOs2Header(picture.headerSize),
                             picture.compression) ||
        !CompressionFitsDepth(picture.compression, picture.bitsPerPixel)) {
        return false;
    }
    picture.isBitmap = true;
    if (picture.bitsPerPixel == 16 || picture.bitsPerPixel == 32) {
        ReadMasks(reader, picture);
    }
    return picture.isBitmap;
}

// The colour table of a picture of up to 8 bits, which follows the headers
// (and the masks stored after a 40-byte header). False when it runs past the
// end of the file.
bool ReadPalette(const ByteReader& reader, BitmapPicture& picture, std::int64_t coloursUsed) {
    picture.paletteOffset =
        kFileHeaderSize + picture.headerSize +
        (picture.headerSize == kInfoHeaderSize ? picture.masksStored * kMaskBytes : 0);
    if (picture.bitsPerPixel > 8) {
        return true;
    }
    const std::int64_t entries =
        coloursUsed != 0 ? coloursUsed : std::int64_t{1} << picture.bitsPerPixel;
    if (entries > kMaxPaletteEntries ||
        !reader.Has(picture.paletteOffset, entries * picture.paletteEntrySize)) {
        return false;
    }
    for (std::int64_t i = 0; i < entries; ++i) {
        const std::int64_t at = picture.paletteOffset + i * picture.paletteEntrySize;
        picture.palette.push_back({static_cast<std::uint8_t>(reader.Byte(at + 2)),
                                   static_cast<std::uint8_t>(reader.Byte(at + 1)),
                                   static_cast<std::uint8_t>(reader.Byte(at))});
    }
    return true;
}

// Where the pixel data ends, and whether run-length data sets every pixel
// (`pixelsUndefined` when not). False when the data runs past the end of the file.
bool MeasurePixels(std::span<const std::uint8_t> file, BitmapPicture& picture,
                   bool& pixelsUndefined) {
    const auto size = static_cast<std::int64_t>(file.size());
    if (picture.pixelOffset >= size) {
        return false;
    }
    switch (picture.compression) {
        case BitmapCompression::kNone:
        case BitmapCompression::kBitfields:
        case BitmapCompression::kAlphaBitfields:
            picture.rowStride = RowStride(picture.width, picture.bitsPerPixel);
            if (picture.height > (size - picture.pixelOffset) / picture.rowStride) {
                return false;
            }
            picture.pixelBytes = picture.rowStride * picture.height;
            return true;
        case BitmapCompression::kRle8:
        case BitmapCompression::kRle4: {
            RleCoverage coverage(picture.width, picture.height);
            const RleExtent extent =
                WalkRle(file, picture.pixelOffset, picture.bitsPerPixel, coverage);
            // Data that stops short of its end code is whole only if every
            // pixel was set by then.
            if (!extent.endCode && !coverage.Complete()) {
                return false;
            }
            picture.pixelBytes = extent.end - picture.pixelOffset;
            if (!coverage.Complete()) {
                picture.unvouched = "its run-length data leaves pixels undefined";
                pixelsUndefined = true;
            } else if (coverage.RunsOffTheEnd()) {
                picture.unvouched = "its run-length data runs past the end of the picture";
            }
            return true;
        }
        default:
            picture.pixelBytes = size - picture.pixelOffset;
            return true;
    }
}

}  // namespace

BitmapPicture InspectBitmap(std::span<const std::uint8_t> file) {
    const ByteReader reader(file);
    BitmapPicture picture;
    std::int64_t coloursUsed = 0;
    if (!ReadHeaders(reader, picture, coloursUsed)) {
        return picture;
    }
    bool pixelsUndefined = false;
    if (!ReadPalette(reader, picture, coloursUsed) ||
        !MeasurePixels(file, picture, pixelsUndefined)) {
        picture.isBitmap = false;
        return picture;
    }
    const std::int64_t tablesEnd =
        picture.paletteOffset +
        static_cast<std::int64_t>(picture.palette.size()) * picture.paletteEntrySize;
    // Pixels that are left undefined may show anything, and a 16-byte header
    // is read as the start of a larger one.
    picture.tablesVouched = !pixelsUndefined && picture.headerSize != kOs2ShortHeaderSize &&
                            picture.pixelOffset >= tablesEnd;
    if (picture.unvouched.empty()) {
        picture.unvouched = UnvouchedReason(picture);
    }
    if (picture.unvouched.empty() && picture.pixelOffset < tablesEnd) {
        picture.unvouched = "its pixel data overlaps its header or colour table";
    }
    return picture;
}

bool ContiguousMask(std::uint32_t mask) {
    if (mask == 0) {
        return false;
    }
    const std::uint32_t shifted = mask >> std::countr_zero(mask);
    return (shifted & (shifted + 1)) == 0;
}

namespace {

std::string CompressionName(BitmapCompression compression) {
    switch (compression) {
        case BitmapCompression::kNone:
            return "uncompressed";
        case BitmapCompression::kRle8:
            return "RLE8";
        case BitmapCompression::kRle4:
            return "RLE4";
        case BitmapCompression::kBitfields:
            return "bitfields";
        case BitmapCompression::kAlphaBitfields:
            return "alpha bitfields";
        case BitmapCompression::kJpeg:
            return "JPEG inside";
        case BitmapCompression::kPng:
            return "PNG inside";
        case BitmapCompression::kHuffman1D:
            return "Huffman 1D";
        case BitmapCompression::kRle24:
            return "RLE24";
    }
    return {};
}

}  // namespace

std::string DescribePicture(const BitmapPicture& picture) {
    if (!picture.isBitmap) {
        return "not a bitmap";
    }
    return "bitmap, " + std::to_string(picture.headerSize) + "-byte header, " +
           std::to_string(picture.bitsPerPixel) + " bits per pixel, " +
           std::to_string(picture.width) + "x" + std::to_string(picture.height) + ", " +
           CompressionName(picture.compression) + (picture.topDown ? ", top-down" : "");
}

std::string PictureKind(const BitmapPicture& picture) {
    if (!picture.isBitmap) {
        return "file that is not a bitmap";
    }
    const bool runLength = IsRunLength(picture.compression);
    return std::to_string(picture.bitsPerPixel) + "-bit " +
           (runLength ? CompressionName(picture.compression) + " " : std::string()) + "bitmap";
}
