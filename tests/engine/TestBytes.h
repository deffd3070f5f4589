#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "BlowfishCipher.h"

using Bytes = std::vector<std::uint8_t>;

inline Bytes FromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

inline std::string ToHex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    for (const std::uint8_t byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xF];
    }
    return hex;
}

inline Bytes Store(const BlowfishBlock& block) {
    Bytes bytes(8);
    StoreBlock(block, bytes.data());
    return bytes;
}

inline Bytes AsBytes(const std::string& text) {
    return Bytes(text.begin(), text.end());
}
