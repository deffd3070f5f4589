#pragma once

#include <cstdint>
#include <string>

// 1234567 as "1,234,567": the sizes the user reads, alike wherever shown.
inline std::string WithThousands(std::int64_t number) {
    const std::string digits = std::to_string(number);
    const std::size_t sign = digits.starts_with('-') ? 1 : 0;
    std::string grouped = digits.substr(0, sign);
    for (std::size_t i = sign; i < digits.size(); ++i) {
        if (i > sign && (digits.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += digits[i];
    }
    return grouped;
}
