#include "RleStream.h"

namespace {

constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfPicture = 1;
constexpr std::uint8_t kDelta = 2;

// The bytes of a literal run of `count` pixels, and the same padded to a word.
std::int64_t LiteralBytes(std::int64_t count, int bitsPerPixel) {
    return bitsPerPixel == 4 ? (count + 1) / 2 : count;
}
std::int64_t PaddedLiteralBytes(std::int64_t count, int bitsPerPixel) {
    return (LiteralBytes(count, bitsPerPixel) + 1) / 2 * 2;
}

}  // namespace

RleExtent WalkRle(std::span<const std::uint8_t> data, std::int64_t offset, int bitsPerPixel,
                  RleVisitor& visitor) {
    const auto size = static_cast<std::int64_t>(data.size());
    const auto at = [&data](std::int64_t position) {
        return data[static_cast<std::size_t>(position)];
    };
    std::int64_t x = 0;
    std::int64_t row = 0;
    std::int64_t p = offset;
    while (p + 1 < size) {
        const std::uint8_t count = at(p);
        const std::uint8_t value = at(p + 1);
        if (count != kEscape) {
            visitor.Code(p, RleCode::kRunCount, x, row);
            visitor.Pixels(p + 1, x, row, count);
            x += count;
            p += 2;
            continue;
        }
        if (value == kDelta && p + 3 >= size) {
            break;
        }
        if (value > kDelta && p + 2 + PaddedLiteralBytes(value, bitsPerPixel) > size) {
            break;
        }
        visitor.Code(p, RleCode::kEscape, x, row);
        visitor.Code(p + 1,
                     value == kEndOfLine      ? RleCode::kEndOfLine
                     : value == kEndOfPicture ? RleCode::kEndOfPicture
                     : value == kDelta        ? RleCode::kDelta
                                              : RleCode::kLiteralCount,
                     x, row);
        if (value == kEndOfLine) {
            x = 0;
            ++row;
            p += 2;
        } else if (value == kEndOfPicture) {
            return {p + 2, true};
        } else if (value == kDelta) {
            visitor.Skip();
            visitor.Code(p + 2, RleCode::kDeltaOffset, x, row);
            visitor.Code(p + 3, RleCode::kDeltaOffset, x, row);
            x += at(p + 2);
            row += at(p + 3);
            p += 4;
        } else {
            // A literal run of `value` pixels, padded to a whole 16-bit word.
            const std::int64_t pixelsPerByte = bitsPerPixel == 4 ? 2 : 1;
            const std::int64_t bytes = LiteralBytes(value, bitsPerPixel);
            const std::int64_t padded = PaddedLiteralBytes(value, bitsPerPixel);
            for (std::int64_t i = 0; i < bytes; ++i) {
                const std::int64_t left = value - i * pixelsPerByte;
                visitor.Pixels(p + 2 + i, x + i * pixelsPerByte, row,
                               left < pixelsPerByte ? left : pixelsPerByte);
            }
            if (padded > bytes) {
                visitor.Padding(p + 2 + bytes);
            }
            x += value;
            p += 2 + padded;
        }
    }
    return {p, false};
}
