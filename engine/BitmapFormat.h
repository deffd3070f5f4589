#pragma once

#include <cstdint>

// Facts of the bitmap file format that the inspector, the converter, the
// damage guard and the tests all rely on; written once so they cannot drift.

// The file header, then one of the information headers a decoder tells
// apart by its first word, its size.
inline constexpr std::int64_t kFileHeaderSize = 14;
inline constexpr std::int64_t kCoreHeaderSize = 12;
inline constexpr std::int64_t kOs2ShortHeaderSize = 16;
inline constexpr std::int64_t kInfoHeaderSize = 40;
inline constexpr std::int64_t kV2HeaderSize = 52;  // adds the colour masks
inline constexpr std::int64_t kV3HeaderSize = 56;  // adds the alpha mask
inline constexpr std::int64_t kOs2HeaderSize = 64;
inline constexpr std::int64_t kV4HeaderSize = 108;
inline constexpr std::int64_t kV5HeaderSize = 124;

enum class BitmapCompression {
    kNone,
    kRle8,
    kRle4,
    kBitfields,
    kAlphaBitfields,
    kJpeg,
    kPng,
    kHuffman1D,
    kRle24,
};

// Bytes in one uncompressed row: rows are padded to whole 32-bit words.
constexpr std::int64_t RowStride(std::int64_t width, std::int64_t bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// Pixel data coded as runs that only a walk from the start can place.
constexpr bool IsRunLength(BitmapCompression compression) {
    return compression == BitmapCompression::kRle8 || compression == BitmapCompression::kRle4;
}

// Uncompressed 32-bit pixels under a plain 40-byte header have no alpha mask,
// yet ImageMagick reads their fourth byte as alpha unless every one is 0
// (Qt shows them opaque).
constexpr bool FourthByteReadAsAlpha(int bitsPerPixel, BitmapCompression compression,
                                     std::int64_t headerSize) {
    return bitsPerPixel == 32 && compression == BitmapCompression::kNone &&
           headerSize == kInfoHeaderSize;
}
