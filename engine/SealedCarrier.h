#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "SealedMessage.h"

// What a carrier's records say about sealing, read without a password and
// without a report, so that a caller can tell before asking for one.
struct SealReading {
    enum class Kind {
        kPlain,   // not sealed: revealed exactly as an unsealed carrier
        kSealed,  // `box` holds the sealed message
        kBroken,  // the marks of a sealed carrier, but no well-formed box
    };
    Kind kind = Kind::kPlain;
    std::optional<SealedBox> box;
};

SealReading ReadSealing(const std::uint8_t* carrier, std::int32_t carrierLength);
// The same, from the texts of the two records already read.
SealReading ReadSealing(const std::string& stored, const std::string& messageText);
