#include "RleStream.h"

namespace {

constexpr std::uint8_t kEscape = 0;
constexpr std::uint8_t kEndOfLine = 0;
constexpr std::uint8_t kEndOfPicture = 1;
constexpr std::uint8_t kDelta = 2;

}  // namespace

std::int64_t WalkRle(std::span<const std::uint8_t> data, std::int64_t offset, int bitsPerPixel,
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
            visitor.Code(p);
            visitor.Pixels(p + 1, x, row, count);
            x += count;
            p += 2;
            continue;
        }
        visitor.Code(p);
        visitor.Code(p + 1);
        if (value == kEndOfLine) {
            x = 0;
            ++row;
            p += 2;
        } else if (value == kEndOfPicture) {
            return p + 2;
        } else if (value == kDelta) {
            if (p + 3 >= size) {
                return -1;
            }
            visitor.Code(p + 2);
            visitor.Code(p + 3);
            x += at(p + 2);
            row += at(p + 3);
            p += 4;
        } else {
            // A literal run of `value` pixels, padded to a whole 16-bit word.
            const std::int64_t pixelsPerByte = bitsPerPixel == 4 ? 2 : 1;
            const std::int64_t bytes = (value + pixelsPerByte - 1) / pixelsPerByte;
            const std::int64_t padded = (bytes + 1) / 2 * 2;
            if (p + 2 + padded > size) {
                return -1;
            }
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
    return -1;
}
