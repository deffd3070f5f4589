#pragma once

// A small bitmap writer for tests: every header form, depth and compression
// the inspector knows, with the pixels given as bytes already laid out.

#include <cstdint>
#include <string>
#include <vector>

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

inline std::uint32_t RowStride(std::int32_t width, int bits) {
    return (static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bits) + 31) / 32 * 4;
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
        if (b.headerSize == 40) {
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
