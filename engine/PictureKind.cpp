#include "PictureKind.h"

#include <array>
#include <string_view>

namespace {

using namespace std::string_view_literals;

bool StartsWith(std::span<const std::uint8_t> file, std::size_t at, std::string_view magic) {
    if (file.size() < at + magic.size()) {
        return false;
    }
    for (std::size_t i = 0; i < magic.size(); ++i) {
        if (file[at + i] != static_cast<std::uint8_t>(magic[i])) {
            return false;
        }
    }
    return true;
}

struct Magic {
    std::size_t at;
    std::string_view bytes;
    const char* kind;
};

// ISO media files name their brand after "ftyp"; the still-picture brands.
constexpr std::array kMagics{
    Magic{0, "BM"sv, "bitmap"},         Magic{0, "\x89PNG\r\n\x1a\n"sv, "PNG"},
    Magic{0, "\xFF\xD8\xFF"sv, "JPEG"}, Magic{0, "GIF87a"sv, "GIF"},
    Magic{0, "GIF89a"sv, "GIF"},        Magic{8, "WEBP"sv, "WebP"},
    Magic{0, "II*\0"sv, "TIFF"},        Magic{0, "MM\0*"sv, "TIFF"},
    Magic{4, "ftypheic"sv, "HEIC"},     Magic{4, "ftypheix"sv, "HEIC"},
    Magic{4, "ftypmif1"sv, "HEIF"},     Magic{4, "ftypavif"sv, "AVIF"},
    Magic{0, "\xFF\x0A"sv, "JPEG XL"},  Magic{0, "\0\0\0\x0CJXL "sv, "JPEG XL"},
    Magic{0, "8BPS"sv, "Photoshop"},    Magic{0, "%PDF"sv, "PDF"},
    Magic{0, "\0\0\1\0"sv, "icon"},
};

}  // namespace

std::string PictureKindOf(std::span<const std::uint8_t> file) {
    for (const Magic& magic : kMagics) {
        if (StartsWith(file, magic.at, magic.bytes)) {
            if (std::string_view(magic.kind) == "WebP" && !StartsWith(file, 0, "RIFF")) {
                continue;
            }
            return magic.kind;
        }
    }
    return {};
}

bool IsPictureFile(std::span<const std::uint8_t> file) {
    const std::string kind = PictureKindOf(file);
    return !kind.empty() && kind != "bitmap";
}
