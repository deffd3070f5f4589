#include "Com.h"

namespace {
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}
}  // namespace

bool ParseGuid(std::string_view text, GUID& guid) {
    // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
    if (text.size() != 38 || text.front() != '{' || text.back() != '}')
        return false;
    GUID parsed;
    std::size_t out = 0;
    for (std::size_t i = 1; i + 1 < text.size();) {
        const bool dashPlace = i == 9 || i == 14 || i == 19 || i == 24;
        if (dashPlace) {
            if (text[i] != '-')
                return false;
            ++i;
            continue;
        }
        const int high = HexValue(text[i]);
        const int low = HexValue(text[i + 1]);
        if (high < 0 || low < 0 || out == parsed.bytes.size())
            return false;
        parsed.bytes[out++] = static_cast<std::uint8_t>(high << 4 | low);
        i += 2;
    }
    if (out != parsed.bytes.size())
        return false;
    guid = parsed;
    return true;
}
