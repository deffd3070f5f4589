#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// Re-encodes a bitmap as an uncompressed 24-bit one with a 40-byte header,
// the kind every Hide leaves looking the same. Its pixels are the colours
// the common decoders show for the original.
struct ConvertedBitmap {
    std::vector<std::uint8_t> file;  // empty when the picture cannot be converted
    std::string failure;             // why not, for the user
};

ConvertedBitmap ConvertTo24Bit(std::span<const std::uint8_t> file);
