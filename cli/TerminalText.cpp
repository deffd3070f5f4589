#include "TerminalText.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace {

// The length of the UTF-8 sequence at the start of `text`, and its code
// point; 0 when it is not well formed (overlong, a surrogate, past U+10FFFF,
// cut short).
std::size_t DecodeUtf8(std::string_view text, char32_t& point) {
    const auto lead = static_cast<unsigned char>(text[0]);
    std::size_t length = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        point = lead;
        return 1;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, least = 0x80, point = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, least = 0x800, point = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, least = 0x10000, point = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (next & 0x3Fu);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < least || surrogate || point > 0x10FFFF ? 0 : length;
}

std::string Hex(const char* format, unsigned value) {
    std::array<char, 8> buffer{};
    std::snprintf(buffer.data(), buffer.size(), format, value);
    return buffer.data();
}

}  // namespace

std::string TerminalSafe(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        char32_t point = 0;
        const std::size_t length = DecodeUtf8(text, point);
        if (length == 0) {
            shown += Hex("\\x%02X", static_cast<unsigned char>(text[0]));
            text.remove_prefix(1);
            continue;
        }
        if (point == '\t' || point == '\n') {
            shown.push_back(static_cast<char>(point));
        } else if (point < 0x20) {
            shown += '^';
            shown.push_back(static_cast<char>(point + 0x40));
        } else if (point == 0x7F) {
            shown += "^?";
        } else if (point >= 0x80 && point < 0xA0) {
            shown += Hex("\\u%04X", static_cast<unsigned>(point));
        } else {
            shown.append(text.substr(0, length));
        }
        text.remove_prefix(length);
    }
    return shown;
}
