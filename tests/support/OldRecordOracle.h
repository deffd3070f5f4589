#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "BlowfishCipher.h"

// An earlier message read back the way the format's reader would, from the
// layout alone: `length` enciphered bytes whose bit j of byte k lies in bit 0
// of carrier byte 320 + 8k + 9j, deciphered under the records' fixed key.
inline std::string DecipherMessageRecord(std::string_view carrier, std::size_t length) {
    std::vector<std::uint8_t> cipher(length, 0);
    for (std::size_t k = 0; k < length; ++k) {
        for (std::size_t j = 0; j < 8; ++j) {
            const auto byte = static_cast<std::uint8_t>(carrier[320 + 8 * k + 9 * j]);
            cipher[k] = static_cast<std::uint8_t>(cipher[k] | ((byte & 1u) << j));
        }
    }
    const std::string key = "copper7311window";
    const CBlowfishCipher blowfish(reinterpret_cast<const std::uint8_t*>(key.data()), key.size(),
                                   {});
    std::vector<std::uint8_t> plain(length, 0);
    blowfish.Decrypt(cipher.data(), plain.data(), length, CBlowfishCipher::ECB);
    return {plain.begin(), plain.end()};
}

// The 8-byte blocks of `oldRecord` (an earlier record's padded plaintext) at
// or past byte `from` that still decipher from `carrier`: their offsets.
inline std::vector<std::size_t> ReadableOldBlocks(std::string_view carrier,
                                                  std::string_view oldRecord, std::size_t from) {
    const std::string plain = DecipherMessageRecord(carrier, oldRecord.size());
    std::vector<std::size_t> readable;
    for (std::size_t block = from; block + 8 <= oldRecord.size(); block += 8) {
        if (plain.compare(block, 8, oldRecord.substr(block, 8)) == 0) {
            readable.push_back(block);
        }
    }
    return readable;
}
