#pragma once

#include <cstdint>

#include "CarrierRecords.h"

// A record of L enciphered bytes needs a carrier of at least 8L + 1000 bytes.
inline constexpr std::int64_t kRecordOverhead = 1000;
inline constexpr std::int64_t kCarrierBytesPerRecordByte = 8;
inline constexpr std::int64_t kCipherBlockBytes = 8;

// The smallest carrier that takes the password record (16 enciphered bytes).
inline constexpr std::int64_t kPasswordRecordNeeds =
    kCarrierBytesPerRecordByte * 16 + kRecordOverhead;

// The most message bytes a carrier of `carrierLength` bytes can take: the
// largest multiple of 8, L, with 8L + 1000 <= carrierLength; 0 if there is none.
constexpr std::int64_t MessageCapacity(std::int64_t carrierLength) {
    if (carrierLength < kRecordOverhead) {
        return 0;
    }
    const std::int64_t bytes = (carrierLength - kRecordOverhead) / kCarrierBytesPerRecordByte;
    return bytes / kCipherBlockBytes * kCipherBlockBytes;
}

// No carrier at all can take a longer message.
inline constexpr std::int64_t kMaxMessageLength = MessageCapacity(kMaxCarrierLength);
