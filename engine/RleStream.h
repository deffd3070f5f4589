#pragma once

#include <cstdint>
#include <span>

// Walks run-length coded pixel data (4 or 8 bits per pixel) the way decoders
// read it, telling a visitor what each byte is. Rows count from the first
// row stored. Never reads outside `data`.
// What a code byte is.
enum class RleCode : std::uint8_t {
    kRunCount,      // the count of an encoded run, followed by its indexes
    kEscape,        // the 0 that starts any escape
    kEndOfLine,     // the escape's second byte, saying end of line
    kEndOfPicture,  // the escape's second byte, saying end of picture
    kDelta,         // the escape's second byte, saying an offset follows
    kDeltaOffset,   // one of the offset's two bytes
    kLiteralCount,  // the escape's second byte, giving a literal run's length
};

struct RleVisitor {
    virtual ~RleVisitor() = default;
    // A code byte, read when the next pixel is (x, row).
    virtual void Code(std::int64_t position, RleCode kind, std::int64_t x, std::int64_t row) = 0;
    // `count` pixels from (x, row) whose indexes come from the byte at
    // `position`: with 8 bits all of them its value, with 4 bits its high
    // nibble for even pixels and its low nibble for odd ones.
    virtual void Pixels(std::int64_t position, std::int64_t x, std::int64_t row,
                        std::int64_t count) = 0;
    // A byte that only pads a literal run to a whole word.
    virtual void Padding(std::int64_t position) = 0;
    // An offset code: the pixels it skips are left undefined.
    virtual void Skip() {}
};

struct RleExtent {
    std::int64_t end = 0;  // just after the last code read whole
    bool endCode = false;  // whether that was the end-of-picture code
};

RleExtent WalkRle(std::span<const std::uint8_t> data, std::int64_t offset, int bitsPerPixel,
                  RleVisitor& visitor);
