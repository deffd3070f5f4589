#pragma once

#include <cstdint>
#include <span>
#include <string>

// The kind of picture a file's first bytes show, named as people know it
// ("JPEG", "HEIC"), so that a refusal can say what it was given; empty when
// the bytes show no kind named here. Bitmaps are "bitmap".
std::string PictureKindOf(std::span<const std::uint8_t> file);

// Whether the file shows the signature of a picture kind other than a
// bitmap (which the engine reads itself): such a file carries no records of
// its own making, and a decoder is asked to make a bitmap carrier of it.
bool IsPictureFile(std::span<const std::uint8_t> file);

// What a picture's headers say, as a decoder reads them for the window and
// the tool alike.
struct PictureHeader {
    std::string kind;     // "JPEG"
    std::string failure;  // why it cannot become a carrier; empty when it can
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool mayHaveAlpha = false;
};
