// Converts a generated run-length bitmap and prints the converted length, so
// that bench/convert_memory_bench.sh can compare the peak memory of the
// streaming conversion with the whole-file one (the form the window uses):
//
//     veilnote_convert_memory stream|whole WIDTH HEIGHT
//
// The picture is made here rather than read, so the figure is the
// conversion's own: an RLE8 picture of WIDTH x HEIGHT pixels in runs of up to
// 255 of a 256-grey palette, about 2 bytes per 255 pixels.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string_view>
#include <vector>

#include "BitmapConverter.h"
#include "BitmapFormat.h"

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

std::vector<std::uint8_t> RunLengthPicture(std::uint32_t width, std::uint32_t height) {
    constexpr std::uint32_t kColours = 256;
    constexpr auto kHeaders = static_cast<std::uint32_t>(kFileHeaderSize + kInfoHeaderSize);
    std::vector<std::uint8_t> file = {'B', 'M'};
    Put(file, 0, 4), Put(file, 0, 4), Put(file, kHeaders + 4 * kColours, 4);
    Put(file, kInfoHeaderSize, 4), Put(file, width, 4), Put(file, height, 4), Put(file, 1, 2);
    Put(file, 8, 2), Put(file, 1, 4), Put(file, 0, 4), Put(file, 2835, 4), Put(file, 2835, 4);
    Put(file, kColours, 4), Put(file, 0, 4);
    for (std::uint32_t i = 0; i < kColours; ++i) {
        Put(file, i * 0x010101u, 4);
    }
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width;) {
            const std::uint32_t count = std::min<std::uint32_t>(255, width - x);
            file.push_back(static_cast<std::uint8_t>(count));
            file.push_back(static_cast<std::uint8_t>((x / 255 + y) % kColours));
            x += count;
        }
        file.push_back(0), file.push_back(0);
    }
    file.push_back(0), file.push_back(1);
    return file;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: veilnote_convert_memory stream|whole WIDTH HEIGHT\n");
        return 2;
    }
    const std::string_view mode = argv[1];
    const auto width = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
    const auto height = static_cast<std::uint32_t>(std::strtoul(argv[3], nullptr, 10));
    const std::vector<std::uint8_t> picture = RunLengthPicture(width, height);
    std::int64_t length = 0;
    if (mode == "whole") {
        length = static_cast<std::int64_t>(ConvertBitmap(picture).file.size());
    } else {
        const CBitmapConversion conversion(picture);
        conversion.Write([&length](std::span<const std::uint8_t> piece) {
            length += static_cast<std::int64_t>(piece.size());
            return true;
        });
    }
    std::printf("%zu %lld\n", picture.size(), static_cast<long long>(length));
    return length > 0 ? 0 : 1;
}
