#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "Revealing.h"

// What `info` tells about a carrier, worked out in one place: its sizes, its
// picture, what it takes plainly, sealed and safely, and what Reveal would
// find in it. Reads the headers and palette, the pixels only where the safe
// capacity needs them, and the records.
struct CarrierFacts {
    std::int64_t size = 0;
    std::int64_t capacity = 0;  // longest message record, by the size rule
    std::string picture;        // one line, e.g. "bitmap, 40-byte header, ..."
    std::int64_t safeCapacity = 0;
    std::int64_t sealedCapacity = 0;      // longest message that fits sealed
    std::int64_t sealedSafeCapacity = 0;  // ... without any visible change
    bool passwordRecord = false;          // a stored form as Hide writes one
    CarrierReading::Kind message = CarrierReading::Kind::kNoRecords;
    // A sealed box's key derivation limits, as DescribeSealLimits names them:
    // boxes sealed before the moderate limits can be told and sealed again.
    std::optional<std::string> sealLimits;
};

CarrierFacts ReadCarrierFacts(std::span<const std::uint8_t> carrier);

// A bitmap's size in pixels, from its headers; nothing for other files.
struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
};
std::optional<PictureSize> BitmapSize(std::span<const std::uint8_t> carrier);
