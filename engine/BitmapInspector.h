#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "BitmapFormat.h"

// What a file's bytes say about the picture in it, read the way the common
// bitmap decoders read them. Reads only inside the given bytes, whatever
// they hold; file-size and image-size fields are ignored, as decoders do.

struct PaletteColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// The channel masks of a 16- or 32-bit picture: red, green, blue, alpha.
using ChannelMasks = std::array<std::uint32_t, 4>;
inline constexpr std::size_t kAlphaChannel = 3;

struct BitmapPicture {
    // False for anything that is not a bitmap, or whose pixel data (or the
    // palette or masks it needs) runs past the end of the file.
    bool isBitmap = false;
    // Empty when every byte of the picture can be judged; otherwise why it
    // is a kind nobody can vouch for (the common decoders do not read it, or
    // read it in ways that cannot be told in advance).
    std::string unvouched;
    // Whether the bytes before the pixel data (headers, masks, colour table)
    // are read alike by the common decoders even where the pixel data is not:
    // then a Hide that stays before the pixel data leaves every pixel as it was.
    bool tablesVouched = false;

    std::int64_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;  // rows, always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    BitmapCompression compression = BitmapCompression::kNone;

    // Bytes [paletteOffset, paletteOffset + palette.size() * paletteEntrySize).
    std::int64_t paletteOffset = 0;
    std::int64_t paletteEntrySize = 4;
    std::vector<PaletteColour> palette;

    // Masks in effect for 16- and 32-bit pictures, and where they lie in the
    // file (0 when they are implied rather than stored).
    ChannelMasks masks{};
    std::int64_t masksOffset = 0;
    std::int64_t masksStored = 0;  // how many of the four are stored

    // Pixel data [pixelOffset, pixelOffset + pixelBytes); for run-length data,
    // up to and including the end-of-picture code (or the last code read).
    std::int64_t pixelOffset = 0;
    std::int64_t pixelBytes = 0;
    std::int64_t rowStride = 0;  // uncompressed rows, padding included

    bool Vouched() const { return isBitmap && unvouched.empty(); }
    // Whether a Hide can be judged at all, if only before the pixel data.
    bool Judged() const { return isBitmap && (unvouched.empty() || tablesVouched); }
};

BitmapPicture InspectBitmap(std::span<const std::uint8_t> file);

// Whether `mask` is one run of set bits (0 is not).
bool ContiguousMask(std::uint32_t mask);

// One line for people: "bitmap, 40-byte header, 24 bits per pixel, 400x300,
// uncompressed", or "not a bitmap".
std::string DescribePicture(const BitmapPicture& picture);

// Short, for a sentence: "1-bit bitmap", "8-bit RLE8 bitmap".
std::string PictureKind(const BitmapPicture& picture);
