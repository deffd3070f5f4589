#pragma once

// A small bitmap writer for tests: every header form, depth and compression
// the inspector knows, with the pixels given as bytes already laid out.

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "BitmapFormat.h"

struct TestBitmap {
    std::uint32_t headerSize = 40;
    std::int32_t width = 64;
    std::int32_t height = 48;
    bool topDown = false;
    std::uint16_t bitsPerPixel = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> masks;    // stored after a 40-byte header or inside a larger one
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint8_t> pixels;
    std::size_t gap = 0;  // bytes between the tables and the pixels
    std::size_t trailing = 0;
};

// Bytes of `rows` uncompressed rows.
inline std::size_t PixelBytes(std::int64_t width, int bits, std::int64_t rows) {
    return static_cast<std::size_t>(RowStride(width, bits) * rows);
}

inline TestBitmap Shape(int bits, std::int32_t width, std::int32_t height,
                        std::uint32_t headerSize = 40, std::uint32_t compression = 0) {
    TestBitmap bitmap;
    bitmap.bitsPerPixel = static_cast<std::uint16_t>(bits);
    bitmap.width = width;
    bitmap.height = height;
    bitmap.headerSize = headerSize;
    bitmap.compression = compression;
    return bitmap;
}

inline std::vector<std::uint8_t> WriteBitmap(const TestBitmap& b) {
    std::vector<std::uint8_t> info;
    const auto put = [&info](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            info.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    };
    const auto height = static_cast<std::uint32_t>(b.topDown ? -b.height : b.height);
    if (b.headerSize == 12) {
        put(12, 4), put(static_cast<std::uint32_t>(b.width), 2), put(height, 2), put(1, 2);
        put(b.bitsPerPixel, 2);
    } else {
        put(b.headerSize, 4), put(static_cast<std::uint32_t>(b.width), 4), put(height, 4);
        put(1, 2), put(b.bitsPerPixel, 2), put(b.compression, 4);
        put(static_cast<std::uint32_t>(b.pixels.size()), 4), put(2835, 4), put(2835, 4);
        put(b.coloursUsed, 4), put(0, 4);
        const bool masksInside = b.headerSize >= 52 && b.headerSize != 64;
        for (std::size_t i = 0; masksInside && i < b.masks.size() && info.size() < b.headerSize;
             ++i) {
            put(b.masks[i], 4);
        }
        if (b.headerSize >= 108 && info.size() < 60) {
            info.resize(56, 0);
        }
        if (b.headerSize >= 108) {
            put(0x73524742, 4);  // sRGB
        }
        info.resize(b.headerSize, 0);
        if (b.headerSize == kInfoHeaderSize) {
            for (const std::uint32_t mask : b.masks) {
                put(mask, 4);
            }
        }
    }
    for (const std::uint32_t colour : b.palette) {
        put(colour & 0xFFu, 1), put(colour >> 8 & 0xFFu, 1), put(colour >> 16 & 0xFFu, 1);
        if (b.headerSize != 12) {
            put(0, 1);
        }
    }
    info.resize(info.size() + b.gap, 0);
    const auto offset = static_cast<std::uint32_t>(14 + info.size());
    std::vector<std::uint8_t> file = {'B', 'M'};
    const auto size = static_cast<std::uint32_t>(offset + b.pixels.size() + b.trailing);
    for (const std::uint32_t value : {size, 0u, offset}) {
        for (int i = 0; i < 4; ++i) {
            file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
        }
    }
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), b.pixels.begin(), b.pixels.end());
    file.resize(size, 0x5A);
    return file;
}

using Bytes = std::vector<std::uint8_t>;

// Palettes whose neighbouring indexes look alike, and ones where they do not.
inline std::vector<std::uint32_t> Palette(int entries, bool smooth, std::mt19937& rng) {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < entries; ++i) {
        const auto level = static_cast<std::uint32_t>(i * 255 / std::max(1, entries - 1));
        palette.push_back(smooth ? level * 0x010101u : rng() & 0xFFFFFFu);
    }
    return palette;
}

inline Bytes RandomBytes(std::size_t count, std::mt19937& rng, unsigned below = 256) {
    Bytes bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(rng() % below);
    }
    return bytes;
}

// Run-length data of rows of runs and literals with indexes below `colours`.
inline Bytes RleRows(int width, int height, int bits, unsigned colours, std::mt19937& rng) {
    Bytes data;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width;) {
            const int count = std::min(width - x, 3 + static_cast<int>(rng() % 12));
            const auto index = [&] { return static_cast<std::uint8_t>(rng() % colours); };
            if (count >= 3 && rng() % 3 == 0) {  // literal run (1 and 2 are escapes)
                data.push_back(0), data.push_back(static_cast<std::uint8_t>(count));
                const int bytes = bits == 8 ? count : (count + 1) / 2;
                for (int i = 0; i < bytes; ++i) {
                    data.push_back(bits == 8 ? index()
                                             : static_cast<std::uint8_t>(index() << 4 | index()));
                }
                if (bytes % 2 != 0) {
                    data.push_back(0);
                }
            } else {
                data.push_back(static_cast<std::uint8_t>(count));
                data.push_back(bits == 8 ? index()
                                         : static_cast<std::uint8_t>(index() << 4 | index()));
            }
            x += count;
        }
        data.push_back(0), data.push_back(0);
    }
    data.push_back(0), data.push_back(1);
    return data;
}

struct Case {
    std::string name;
    Bytes file;
};

// Bitmaps of every kind, a few of each, with smooth and harsh palettes and
// unusual but valid headers, and some files that are not bitmaps.
inline std::vector<Case> GeneratedCases() {
    std::mt19937 rng(8);
    std::vector<Case> cases;
    const int w = 61;
    const int h = 40;
    for (const int bits : {1, 4, 8}) {
        for (const bool smooth : {true, false}) {
            const int tall = bits < 8 ? 200 : h;  // big enough for a message
            TestBitmap b = Shape(bits, w, tall);
            b.palette = Palette(1 << bits, smooth, rng);
            b.pixels = RandomBytes(PixelBytes(w, bits, tall), rng);
            cases.push_back(
                {std::to_string(bits) + "-bit " + (smooth ? "smooth" : "harsh"), WriteBitmap(b)});
        }
    }
    {
        TestBitmap b = Shape(8, w, h, 12);
        b.palette = Palette(256, true, rng);
        b.palette[77] = 0xFF0000;  // one harsh pair among smooth ones
        b.pixels = RandomBytes(PixelBytes(w, 8, h), rng);
        cases.push_back({"8-bit core header", WriteBitmap(b)});
        // Index pairs exactly 2 apart: harmless alone, seen together with
        // the palette's own change.
        for (std::uint32_t i = 0; i < 256; ++i) {
            b.palette[i] = (i / 2 * 4 % 256 + i % 2 * 2) * 0x010101u;
        }
        cases.push_back({"8-bit pairs two apart", WriteBitmap(b)});
    }
    {
        // Index pairs 2 apart again, in even bytes but for the one bit the
        // password record's length word sets: that word leaves the colours
        // it lies on as they were. Where cipher bits reach, pairs are 1 apart.
        TestBitmap b = Shape(4, w, 200);
        for (std::uint32_t i = 0; i < 16; ++i) {
            const std::uint32_t level = i / 2 * 30 + i % 2 * 2;
            b.palette.push_back(level * 0x010101u);
        }
        b.palette[4] |= 0x010000;  // red of entry 4: file byte 72
        // Reds at file bytes 100, 108 and 116 take cipher bits.
        b.palette[10] = 0x979696, b.palette[11] = 0x989898;
        b.palette[12] = 0xF1F0F0, b.palette[13] = 0xF2F2F2;
        b.palette[14] = 0xF9F8F8, b.palette[15] = 0xFAFAFA;
        b.pixels = RandomBytes(PixelBytes(w, 4, 200), rng);
        cases.push_back({"4-bit pairs two apart under the length word", WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(8, w, h, 108);
        b.coloursUsed = 20;
        b.palette = Palette(20, false, rng);
        b.pixels = RandomBytes(PixelBytes(w, 8, h), rng, 20);
        cases.push_back({"8-bit 20 colours, 108-byte header", WriteBitmap(b)});
    }
    for (const int bits : {8, 4}) {
        for (const bool smooth : {true, false}) {
            TestBitmap b = Shape(bits, w, 3 * h, 40, bits == 8 ? 1u : 2u);
            b.palette = Palette(1 << bits, smooth, rng);
            b.pixels = RleRows(w, 3 * h, bits, 1u << bits, rng);
            cases.push_back(
                {"RLE" + std::to_string(bits) + (smooth ? " smooth" : " harsh"), WriteBitmap(b)});
        }
    }
    {
        TestBitmap b = Shape(8, w, 3 * h, 40, 1);
        b.palette = Palette(256, true, rng);
        b.pixels = RleRows(w, 3 * h, 8, 256, rng);
        b.pixels.pop_back();  // every pixel set, no end code
        b.pixels.pop_back();
        cases.push_back({"RLE8 without its end code", WriteBitmap(b)});
        b.pixels.insert(b.pixels.begin(), {0, 2, 3, 1});  // an offset leaves pixels undefined
        cases.push_back({"RLE8 with an offset", WriteBitmap(b)});
        b.pixels =
            RleRows(w + 3, 3 * h, 8, 256, rng);  // rows padded past the width, as some writers do
        cases.push_back({"RLE8 rows longer than the picture", WriteBitmap(b)});
        b.pixels = RleRows(w, 3 * h, 8, 256, rng);
        b.topDown = true;  // nobody vouches for its pixels, but the palette is a gap
        cases.push_back({"RLE8 top-down", WriteBitmap(b)});
        b.topDown = false;
    }
    {
        // Rows of 4 pixels of 16 colours, with runs starting right after the
        // colour table: the bottom row's first run crosses the right edge
        // and many short ones follow past it. Qt drops them below its bottom
        // row; ImageMagick writes them on into the rows above, which their
        // own runs then cover.
        TestBitmap b = Shape(8, 4, 400, 40, 1);
        b.coloursUsed = 16;
        for (std::uint32_t i = 0; i < 16; ++i) {
            b.palette.push_back(i / 2 * 30 * 0x010101u);  // pairs alike
        }
        b.pixels = {6, 0};
        for (int run = 0; run < 300; ++run) {
            b.pixels.push_back(static_cast<std::uint8_t>(2 + rng() % 2));
            b.pixels.push_back(static_cast<std::uint8_t>(rng() % 16));
        }
        for (int row = 1; row < b.height; ++row) {
            b.pixels.insert(b.pixels.end(), {0, 0, 4, static_cast<std::uint8_t>(rng() % 16)});
        }
        b.pixels.insert(b.pixels.end(), {0, 0, 0, 1});
        b.trailing = 2000;  // room for a message
        cases.push_back({"RLE8 runs past the bottom row's edge", WriteBitmap(b)});
        b.height = 2;  // too few rows above to take them
        b.pixels.resize(2 + 600);
        b.pixels.insert(b.pixels.end(), {0, 0, 4, 5, 0, 0, 0, 1});
        cases.push_back({"RLE8 runs past the end of the picture", WriteBitmap(b)});
    }
    {
        TestBitmap planes = Shape(24, w, h);
        planes.pixels = RandomBytes(PixelBytes(w, 24, h), rng);
        Bytes file = WriteBitmap(planes);
        file[26] = 3;
        cases.push_back({"three planes", file});
    }
    for (const std::uint32_t header : {12u, 40u, 64u, 108u, 124u}) {
        TestBitmap b = Shape(24, w, h, header);
        b.topDown = header == 124;
        b.pixels = RandomBytes(PixelBytes(w, 24, h), rng);
        b.gap = header == 40 ? 30 : 0;
        b.trailing = header == 64 ? 100 : 0;
        cases.push_back({"24-bit header " + std::to_string(header), WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(16, w, h, 40, 3);
        b.masks = {0xF800, 0x07E0, 0x001F};
        b.pixels = RandomBytes(PixelBytes(w, 16, h), rng);
        cases.push_back({"16-bit 565", WriteBitmap(b)});
        b.compression = 0;
        b.masks.clear();
        cases.push_back({"16-bit 555", WriteBitmap(b)});
    }
    for (const unsigned alpha : {0u, 255u}) {
        TestBitmap b = Shape(32, w, h);
        b.pixels = RandomBytes(PixelBytes(w, 32, h), rng);
        for (std::size_t i = 3; i < b.pixels.size(); i += 4) {
            b.pixels[i] = static_cast<std::uint8_t>(alpha);
        }
        cases.push_back({"32-bit alpha " + std::to_string(alpha), WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(32, w, h, 124, 3);
        b.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
        b.pixels = RandomBytes(PixelBytes(w, 32, h), rng);
        cases.push_back({"32-bit with alpha mask", WriteBitmap(b)});
        b.masks[3] = 0x80000000;  // alpha
        cases.push_back({"32-bit with a one-bit alpha mask", WriteBitmap(b)});
        b.masks = {0x3FF00000, 0xFFC00, 0x3FF, 0};
        cases.push_back({"32-bit with 10-bit channels", WriteBitmap(b)});
        TestBitmap loose = Shape(32, w, h);
        loose.pixels = RandomBytes(PixelBytes(w, 32, h), rng);
        cases.push_back({"32-bit with unmasked alpha", WriteBitmap(loose)});
    }
    for (const std::uint32_t alphaMask : {0xF000u, 0u}) {
        TestBitmap b = Shape(16, w, h, 124, 3);
        b.masks = {0x0F00, 0x00F0, 0x000F, alphaMask};
        b.pixels = RandomBytes(PixelBytes(w, 16, h), rng);
        cases.push_back(
            {"16-bit 4-bit channels, alpha mask " + std::to_string(alphaMask), WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(24, w, h, 40, 4);  // JPEG inside
        b.pixels = RandomBytes(4000, rng);
        cases.push_back({"JPEG inside", WriteBitmap(b)});
        TestBitmap cut = Shape(24, w, h);
        cut.pixels = RandomBytes(PixelBytes(w, 24, h), rng);
        Bytes file = WriteBitmap(cut);
        file.erase(file.end() - 10, file.end());
        cases.push_back({"cut short", file});
        cases.push_back({"random bytes", RandomBytes(5000, rng)});
    }
    return cases;
}
