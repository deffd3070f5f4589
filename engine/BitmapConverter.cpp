#include "BitmapConverter.h"

#include <algorithm>
#include <bit>
#include <new>

#include "BitmapFormat.h"
#include "CarrierBitmap.h"
#include "RecordGeometry.h"
#include "RleStream.h"

namespace {

using Rgba = RgbaPixel;

Rgba Opaque(PaletteColour colour) {
    return {colour.red, colour.green, colour.blue, 0xFF};
}

Rgba PaletteAt(const BitmapPicture& picture, unsigned index) {
    return Opaque(index < picture.palette.size() ? picture.palette[index] : PaletteColour{});
}

std::uint32_t Field(std::uint32_t pixel, std::uint32_t mask) {
    return mask == 0 ? 0 : (pixel & mask) >> std::countr_zero(mask);
}

// A `width`-bit colour field as 8 bits. Qt shifts it up; ImageMagick shifts
// it up in 16-bit pictures (filling 5-bit fields' low bits from their top),
// and in 32-bit ones scales it to 16 bits and then down, landing 1 lower.
// Between the two lies within half their difference of each. Fields wider
// than 8 bits keep their top 8, as ImageMagick reads them (Qt shows black).
std::uint8_t ColourChannel(std::uint32_t value, int width, int bitsPerPixel) {
    if (width == 0) {
        return 0;
    }
    if (width >= 8) {
        return static_cast<std::uint8_t>(value >> (width - 8));
    }
    const std::uint32_t shifted = value << (8 - width);
    const std::uint32_t magick = bitsPerPixel == 16
                                     ? (width == 5 ? shifted | shifted >> 5 : shifted)
                                     : (value << (16 - width)) / 257;
    return static_cast<std::uint8_t>((shifted + magick + 1) / 2);
}

// Both decoders shift an alpha field up to 8 bits.
std::uint8_t AlphaChannel(std::uint32_t value, int width) {
    return static_cast<std::uint8_t>(width >= 8 ? value >> (width - 8) : value << (8 - width));
}

std::uint32_t PixelAt(std::span<const std::uint8_t> file, std::int64_t position, int bytes) {
    std::uint32_t pixel = 0;
    for (int i = 0; i < bytes; ++i) {
        pixel |= std::uint32_t{file[static_cast<std::size_t>(position + i)]} << (8 * i);
    }
    return pixel;
}

// How the pixels of a 16- or 32-bit picture are read: its masks, with an
// unmasked fourth byte counted as alpha where a decoder shows it so.
ChannelMasks ReadingMasks(const BitmapPicture& picture, bool fourthByteIsAlpha) {
    ChannelMasks masks = picture.masks;
    if (fourthByteIsAlpha) {
        masks[kAlphaChannel] = 0xFF000000u;
    }
    return masks;
}

Rgba MaskedPixel(std::uint32_t pixel, const ChannelMasks& masks, int bitsPerPixel) {
    const auto colour = [&](std::size_t c) {
        return ColourChannel(Field(pixel, masks[c]), std::popcount(masks[c]), bitsPerPixel);
    };
    const std::uint32_t alphaMask = masks[kAlphaChannel];
    return {colour(0), colour(1), colour(2),
            alphaMask == 0 ? std::uint8_t{0xFF}
                           : AlphaChannel(Field(pixel, alphaMask), std::popcount(alphaMask))};
}

// Receives the picture's rows as colours, bottom row first; false stops.
using RowReceiver = std::function<bool(std::span<const Rgba>)>;

// Uncompressed rows of any depth, each read straight from the file.
bool PaintRows(const BitmapPicture& picture, std::span<const std::uint8_t> file,
               const ChannelMasks& masks, const RowReceiver& receive) {
    const int bits = picture.bitsPerPixel;
    std::vector<Rgba> row(static_cast<std::size_t>(picture.width));
    for (std::int64_t bottomUp = 0; bottomUp < picture.height; ++bottomUp) {
        const std::int64_t stored = picture.topDown ? picture.height - 1 - bottomUp : bottomUp;
        const std::int64_t start = picture.pixelOffset + stored * picture.rowStride;
        for (std::int64_t x = 0; x < picture.width; ++x) {
            Rgba& pixel = row[static_cast<std::size_t>(x)];
            if (bits <= 8) {
                const std::int64_t bit = x * bits;
                const unsigned byte = file[static_cast<std::size_t>(start + bit / 8)];
                pixel = PaletteAt(picture, byte >> (8 - bits - bit % 8) & ((1u << bits) - 1u));
            } else if (bits == 24) {
                const std::uint32_t value = PixelAt(file, start + 3 * x, 3);
                pixel = {static_cast<std::uint8_t>(value >> 16),
                         static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value),
                         0xFF};
            } else {
                pixel = MaskedPixel(PixelAt(file, start + bits / 8 * x, bits / 8), masks, bits);
            }
        }
        if (!receive(row)) {
            return false;
        }
    }
    return true;
}

// Run-length data, whose rows are stored bottom row first: each row is
// handed on once the codes have moved past it. Pixels no code sets keep the
// first palette colour.
class RleRowPainter final : public RleVisitor {
public:
    RleRowPainter(const BitmapPicture& picture, std::span<const std::uint8_t> file,
                  const RowReceiver& receive)
        : m_picture(picture),
          m_file(file),
          m_receive(receive),
          m_background(PaletteAt(picture, 0)),
          m_row(static_cast<std::size_t>(picture.width), m_background) {}

    void Code(std::int64_t, RleCode, std::int64_t, std::int64_t) override {}
    void Padding(std::int64_t) override {}
    void Pixels(std::int64_t position, std::int64_t x, std::int64_t row,
                std::int64_t count) override {
        FinishRowsBefore(row);
        if (row != m_rowIndex) {
            return;  // past the picture, or stopped
        }
        const unsigned byte = m_file[static_cast<std::size_t>(position)];
        for (std::int64_t i = 0; i < count && x + i < m_picture.width; ++i) {
            const unsigned index =
                m_picture.bitsPerPixel == 8 ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0x0Fu);
            m_row[static_cast<std::size_t>(x + i)] = PaletteAt(m_picture, index);
        }
    }

    // Hands on the rows the codes never reached; false if the receiver stopped.
    bool Finish() {
        FinishRowsBefore(m_picture.height);
        return m_going;
    }

private:
    void FinishRowsBefore(std::int64_t row) {
        while (m_going && m_rowIndex < std::min(row, m_picture.height)) {
            m_going = m_receive(m_row);
            std::fill(m_row.begin(), m_row.end(), m_background);
            ++m_rowIndex;
        }
    }

    const BitmapPicture& m_picture;
    std::span<const std::uint8_t> m_file;
    const RowReceiver& m_receive;
    Rgba m_background;
    std::vector<Rgba> m_row;
    std::int64_t m_rowIndex = 0;
    bool m_going = true;
};

// What alpha the pixels of a 16- or 32-bit picture hold, read with `masks`.
struct AlphaSeen {
    bool anyAboveZero = false;
    bool anyBelowFull = false;
};

AlphaSeen ScanAlpha(const BitmapPicture& picture, std::span<const std::uint8_t> file,
                    const ChannelMasks& masks) {
    AlphaSeen seen;
    if (masks[kAlphaChannel] == 0) {
        return seen;
    }
    const int bytesPerPixel = picture.bitsPerPixel / 8;
    for (std::int64_t row = 0; row < picture.height; ++row) {
        const std::int64_t start = picture.pixelOffset + row * picture.rowStride;
        for (std::int64_t x = 0; x < picture.width; ++x) {
            const std::uint8_t alpha =
                MaskedPixel(PixelAt(file, start + bytesPerPixel * x, bytesPerPixel), masks,
                            picture.bitsPerPixel)
                    .alpha;
            seen.anyAboveZero = seen.anyAboveZero || alpha != 0;
            seen.anyBelowFull = seen.anyBelowFull || alpha != 0xFF;
        }
    }
    return seen;
}

}  // namespace

CBitmapConversion::CBitmapConversion(std::span<const std::uint8_t> file)
    : m_file(file), m_picture(InspectBitmap(file)) {
    if (!m_picture.isBitmap) {
        m_failure = "it is not a bitmap";
        return;
    }
    if (!m_picture.unvouched.empty()) {
        m_failure = m_picture.unvouched;
        return;
    }
    const int bits = m_picture.bitsPerPixel;
    if (bits == 16 || bits == 32) {
        for (const std::uint32_t mask : m_picture.masks) {
            if (mask != 0 && !ContiguousMask(mask)) {
                m_failure = "its channel masks are not contiguous";
                return;
            }
        }
        // An unmasked fourth byte is alpha to ImageMagick unless all are 0.
        const bool loose = FourthByteReadAsAlpha(bits, m_picture.compression, m_picture.headerSize);
        const AlphaSeen alpha = ScanAlpha(m_picture, file, ReadingMasks(m_picture, loose));
        m_fourthByteIsAlpha = loose && alpha.anyAboveZero;
        if (alpha.anyBelowFull && (!loose || m_fourthByteIsAlpha)) {
            m_outputBits = 32;  // transparency a decoder shows is kept
        }
    }
    const std::int64_t stride = RowStride(m_picture.width, m_outputBits);
    if (m_picture.height > (kMaxCarrierLength - CarrierHeaderBytes(m_outputBits)) / stride) {
        m_failure = "a " + std::to_string(m_outputBits) + "-bit copy of it would be too large";
    }
}

std::int64_t CBitmapConversion::OutputLength() const {
    if (!m_failure.empty()) {
        return 0;
    }
    return CarrierHeaderBytes(m_outputBits) +
           RowStride(m_picture.width, m_outputBits) * m_picture.height;
}

bool CBitmapConversion::Write(const ByteSink& sink) const {
    if (!m_failure.empty()) {
        return false;
    }
    CarrierBitmapWriter out(m_picture.width, m_picture.height, m_outputBits, sink);
    out.Headers();
    const RowReceiver receive = [&](std::span<const Rgba> row) { return out.Row(row); };
    bool written = false;
    if (IsRunLength(m_picture.compression)) {
        RleRowPainter painter(m_picture, m_file, receive);
        WalkRle(m_file, m_picture.pixelOffset, m_picture.bitsPerPixel, painter);
        written = painter.Finish();
    } else {
        written =
            PaintRows(m_picture, m_file, ReadingMasks(m_picture, m_fourthByteIsAlpha), receive);
    }
    return written && out.Finish();
}

ConvertedBitmap ConvertBitmap(std::span<const std::uint8_t> file) {
    try {
        const CBitmapConversion conversion(file);
        if (!conversion.Failure().empty()) {
            return {{}, conversion.Failure()};
        }
        std::vector<std::uint8_t> out;
        out.reserve(static_cast<std::size_t>(conversion.OutputLength()));
        conversion.Write([&out](std::span<const std::uint8_t> piece) {
            out.insert(out.end(), piece.begin(), piece.end());
            return true;
        });
        return {std::move(out), {}, conversion.OutputBits()};
    } catch (const std::bad_alloc&) {
        return {{}, "there is not enough memory to convert it"};
    }
}
