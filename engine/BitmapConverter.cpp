#include "BitmapConverter.h"

#include <bit>
#include <new>

#include "BitmapFormat.h"
#include "BitmapInspector.h"
#include "RecordGeometry.h"
#include "RleStream.h"

namespace {

constexpr std::int64_t kOutputBits = 24;

// The picture as colours, row 0 at the top.
class Canvas {
public:
    Canvas(std::int64_t width, std::int64_t height, PaletteColour background)
        : m_width(width),
          m_height(height),
          m_pixels(static_cast<std::size_t>(width * height), background) {}

    void Set(std::int64_t x, std::int64_t y, PaletteColour colour) {
        if (x >= 0 && x < m_width && y >= 0 && y < m_height) {
            m_pixels[static_cast<std::size_t>(y * m_width + x)] = colour;
        }
    }
    const PaletteColour& At(std::int64_t x, std::int64_t y) const {
        return m_pixels[static_cast<std::size_t>(y * m_width + x)];
    }

private:
    std::int64_t m_width;
    std::int64_t m_height;
    std::vector<PaletteColour> m_pixels;
};

// The image row that stored row `row` holds.
std::int64_t ImageRow(const BitmapPicture& picture, std::int64_t row) {
    return picture.topDown ? row : picture.height - 1 - row;
}

PaletteColour PaletteAt(const BitmapPicture& picture, unsigned index) {
    return index < picture.palette.size() ? picture.palette[index] : PaletteColour{};
}

class RleCanvas final : public RleVisitor {
public:
    RleCanvas(const BitmapPicture& picture, std::span<const std::uint8_t> file, Canvas& canvas)
        : m_picture(picture), m_file(file), m_canvas(canvas) {}
    void Code(std::int64_t) override {}
    void Padding(std::int64_t) override {}
    void Pixels(std::int64_t position, std::int64_t x, std::int64_t row,
                std::int64_t count) override {
        const unsigned byte = m_file[static_cast<std::size_t>(position)];
        for (std::int64_t i = 0; i < count && x + i < m_picture.width; ++i) {
            const unsigned index =
                m_picture.bitsPerPixel == 8 ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0x0Fu);
            m_canvas.Set(x + i, ImageRow(m_picture, row), PaletteAt(m_picture, index));
        }
    }

private:
    const BitmapPicture& m_picture;
    std::span<const std::uint8_t> m_file;
    Canvas& m_canvas;
};

// A w-bit channel value as 8 bits. Decoders widen short fields differently
// (by shifting, or by scaling to 255); the middle of the two is within half
// their difference of each.
std::uint8_t Widen(std::uint32_t value, int width) {
    if (width == 0) {
        return 0;
    }
    if (width >= 8) {
        return static_cast<std::uint8_t>(value >> (width - 8));
    }
    const std::uint32_t shifted = value << (8 - width);
    const std::uint32_t scaled = (value * 255 + ((1u << width) - 1) / 2) / ((1u << width) - 1);
    return static_cast<std::uint8_t>((shifted + scaled + 1) / 2);
}

std::uint32_t Field(std::uint32_t pixel, std::uint32_t mask) {
    return mask == 0 ? 0 : (pixel & mask) >> std::countr_zero(mask);
}

std::uint32_t PixelAt(std::span<const std::uint8_t> file, std::int64_t position, int bytes) {
    std::uint32_t pixel = 0;
    for (int i = 0; i < bytes; ++i) {
        pixel |= std::uint32_t{file[static_cast<std::size_t>(position + i)]} << (8 * i);
    }
    return pixel;
}

// Uncompressed rows of any depth into the canvas; a failure text, or empty.
std::string PaintRows(const BitmapPicture& picture, std::span<const std::uint8_t> file,
                      Canvas& canvas) {
    const int bits = picture.bitsPerPixel;
    ChannelMasks masks = picture.masks;
    const bool looseAlpha = FourthByteReadAsAlpha(bits, picture.compression, picture.headerSize);
    if (looseAlpha) {
        masks[kAlphaChannel] = 0xFF000000u;
    }
    for (const std::uint32_t mask : masks) {
        if (mask != 0 && !ContiguousMask(mask)) {
            return "its channel masks are not contiguous";
        }
    }
    bool anyAlpha = false;
    bool partlyTransparent = false;
    for (std::int64_t row = 0; row < picture.height; ++row) {
        const std::int64_t start = picture.pixelOffset + row * picture.rowStride;
        const std::int64_t y = ImageRow(picture, row);
        for (std::int64_t x = 0; x < picture.width; ++x) {
            if (bits <= 8) {
                const std::int64_t bit = x * bits;
                const unsigned byte = file[static_cast<std::size_t>(start + bit / 8)];
                const unsigned index = byte >> (8 - bits - bit % 8) & ((1u << bits) - 1u);
                canvas.Set(x, y, PaletteAt(picture, index));
            } else if (bits == 24) {
                const std::uint32_t pixel = PixelAt(file, start + 3 * x, 3);
                canvas.Set(
                    x, y,
                    {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                     static_cast<std::uint8_t>(pixel)});
            } else {
                const std::uint32_t pixel = PixelAt(file, start + bits / 8 * x, bits / 8);
                const auto channel = [&](std::size_t c) {
                    return Widen(Field(pixel, masks[c]), std::popcount(masks[c]));
                };
                canvas.Set(x, y, {channel(0), channel(1), channel(2)});
                const std::uint32_t alphaMask = masks[kAlphaChannel];
                if (alphaMask != 0) {
                    const std::uint32_t alpha = Field(pixel, alphaMask);
                    anyAlpha = anyAlpha || alpha != 0;
                    partlyTransparent =
                        partlyTransparent || alpha != alphaMask >> std::countr_zero(alphaMask);
                }
            }
        }
    }
    if (partlyTransparent && (!looseAlpha || anyAlpha)) {
        return "it has transparent pixels, which a 24-bit bitmap cannot keep";
    }
    return {};
}

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

}  // namespace

namespace {

ConvertedBitmap Convert(std::span<const std::uint8_t> file) {
    const BitmapPicture picture = InspectBitmap(file);
    if (!picture.isBitmap) {
        return {{}, "it is not a bitmap"};
    }
    if (!picture.unvouched.empty()) {
        return {{}, picture.unvouched};
    }
    const std::int64_t stride = RowStride(picture.width, kOutputBits);
    const std::int64_t headers = kFileHeaderSize + kInfoHeaderSize;
    if (picture.height > (kMaxCarrierLength - headers) / stride) {
        return {{}, "a 24-bit copy of it would be too large"};
    }
    Canvas canvas(picture.width, picture.height, PaletteAt(picture, 0));
    if (IsRunLength(picture.compression)) {
        RleCanvas painter(picture, file, canvas);
        WalkRle(file, picture.pixelOffset, picture.bitsPerPixel, painter);
    } else if (std::string failure = PaintRows(picture, file, canvas); !failure.empty()) {
        return {{}, std::move(failure)};
    }

    const auto pixelBytes = static_cast<std::uint32_t>(stride * picture.height);
    std::vector<std::uint8_t> out = {'B', 'M'};
    out.reserve(static_cast<std::size_t>(headers) + pixelBytes);
    Put(out, static_cast<std::uint32_t>(headers) + pixelBytes, 4);
    Put(out, 0, 4);
    Put(out, static_cast<std::uint32_t>(headers), 4);
    Put(out, kInfoHeaderSize, 4);
    Put(out, static_cast<std::uint32_t>(picture.width), 4);
    Put(out, static_cast<std::uint32_t>(picture.height), 4);
    Put(out, 1, 2);
    Put(out, kOutputBits, 2);
    Put(out, 0, 4);  // uncompressed
    Put(out, pixelBytes, 4);
    Put(out, 2835, 4);  // 72 dots per inch
    Put(out, 2835, 4);
    Put(out, 0, 4);
    Put(out, 0, 4);
    // Bottom-up rows, the ordinary order.
    for (std::int64_t y = picture.height - 1; y >= 0; --y) {
        for (std::int64_t x = 0; x < picture.width; ++x) {
            const PaletteColour& colour = canvas.At(x, y);
            out.push_back(colour.blue), out.push_back(colour.green), out.push_back(colour.red);
        }
        out.resize(out.size() + static_cast<std::size_t>(stride - 3 * picture.width), 0);
    }
    return {std::move(out), {}};
}

}  // namespace

ConvertedBitmap ConvertTo24Bit(std::span<const std::uint8_t> file) {
    try {
        return Convert(file);
    } catch (const std::bad_alloc&) {
        return {{}, "there is not enough memory to convert it"};
    }
}
