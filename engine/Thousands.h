#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// 1234567 as "1,234,567": the sizes the user reads, alike wherever shown.
inline std::string WithThousands(std::int64_t number) {
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return digits;
}
