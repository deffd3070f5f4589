#pragma once

#include <cstdint>
#include <span>

#include "CarrierWindow.h"
#include "DamageGuard.h"
#include "RecordGeometry.h"

// A Hide into a carrier that already holds records leaves the earlier
// message record's ciphertext beyond the new record's end, and that
// ciphertext still deciphers under the records' fixed key. These find how
// far such a record reaches and give its leftover bits random values.

// An earlier Hide's message record, as far as the carrier's records vouch for it.
struct OldMessageRecord {
    // Its enciphered length; 0 when the carrier holds no records that a Hide
    // could have written.
    std::int64_t length = 0;
    // Its bytes below this can be wiped without visibly changing the picture.
    std::int64_t wipeEnd = 0;
};

// Reads only the password record and the message length word: a length word
// is believed only beside a password record as Hide writes one, and only
// when it is whole cipher blocks that fit the carrier, so that random low
// bits never make a Hide scramble the picture.
OldMessageRecord FindOldMessageRecord(std::span<const std::uint8_t> carrier,
                                      const CDamageGuard& guard);

// The bytes of `carrier` that hold the message record's bytes [from, end),
// or nothing when from >= end.
ByteSpan MessageBytesSpan(std::int64_t from, std::int64_t end);

// Gives bit 0 of every carrier byte that holds the message record's bytes
// [from, end) a random value. The window must hold those bytes; otherwise
// nothing is touched and the answer is false.
bool WipeMessageBytes(const CarrierWindow& carrier, std::int64_t from, std::int64_t end);
