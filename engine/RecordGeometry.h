#pragma once

#include <cstdint>

// Where the hidden records lie in a carrier, and how much a carrier can
// take. Every reader, writer and guard works out positions from here.
//
// A record starting at S is a 32-bit length word L in bit 0 of bytes
// S-32..S-1 (bit k in byte S-32+k), followed by L enciphered bytes whose bit
// j of byte k sits in bit 0 of byte S+8k+9j. All arithmetic is in 64 bits:
// with carriers of up to 2^31-1 bytes, 8L + S overflows 32 bits.

inline constexpr std::int32_t kPasswordRecordStart = 100;
inline constexpr std::int32_t kMessageRecordStart = 320;
// Carriers are at most this long: their length is a signed 32-bit number.
inline constexpr std::int64_t kMaxCarrierLength = 0x7FFFFFFF;

inline constexpr std::int32_t kLengthWordBits = 32;
inline constexpr std::int64_t kCipherBlockBytes = 8;
// The enciphered password record is always this long (the stored form).
inline constexpr std::int64_t kPasswordRecordLength = 16;
// Ciphertext byte k, bit j sits in carrier byte start + 8k + 9j.
inline constexpr std::int64_t kByteStride = 8;
inline constexpr std::int64_t kBitStride = 9;
// The last bit of a record of L bytes lies at start + 8L + 55.
inline constexpr std::int64_t kRecordTail = 56;
// A carrier must exceed a record's spread by this much, whatever its start.
inline constexpr std::int64_t kSizeMargin = 1000;

// The carrier byte that holds bit j of ciphertext byte k of the record at `start`.
constexpr std::int64_t CipherBitPosition(std::int64_t start, std::int64_t k, std::int64_t j) {
    return start + kByteStride * k + kBitStride * j;
}

// One past the last carrier byte a record of `recordLength` bytes at `start` touches.
constexpr std::int64_t RecordEnd(std::int64_t start, std::int64_t recordLength) {
    return start + kByteStride * recordLength + kRecordTail;
}

// A record length rounded up to whole cipher blocks.
constexpr std::int64_t PaddedLength(std::int64_t textLength) {
    return (textLength + kCipherBlockBytes - 1) / kCipherBlockBytes * kCipherBlockBytes;
}

// Whether a carrier of `carrierLength` bytes takes a record of `recordLength`
// enciphered bytes at `start`: the size rule, and the record inside the carrier.
constexpr bool RecordFits(std::int64_t carrierLength, std::int64_t start,
                          std::int64_t recordLength) {
    return carrierLength >= kByteStride * recordLength + kSizeMargin &&
           carrierLength >= RecordEnd(start, recordLength);
}

// The smallest carrier that takes the password record.
inline constexpr std::int64_t kPasswordRecordNeeds =
    kByteStride * kPasswordRecordLength + kSizeMargin;

// The longest message record (a multiple of 8 bytes) a carrier of
// `carrierLength` bytes takes beside the password record; 0 if none.
constexpr std::int64_t MessageCapacity(std::int64_t carrierLength) {
    if (!RecordFits(carrierLength, kPasswordRecordStart, kPasswordRecordLength)) {
        return 0;
    }
    const std::int64_t bytes = (carrierLength - kSizeMargin) / kByteStride;
    return bytes / kCipherBlockBytes * kCipherBlockBytes;
}

// No carrier at all takes a longer message record.
inline constexpr std::int64_t kMaxMessageLength = MessageCapacity(kMaxCarrierLength);

// The bytes [first, end) of a carrier that a Hide of a message record of
// `messageRecordLength` bytes may change: both length words and both records.
struct ByteSpan {
    std::int64_t first;
    std::int64_t end;
};
constexpr ByteSpan HideSpan(std::int64_t messageRecordLength) {
    return {kPasswordRecordStart - kLengthWordBits,
            RecordEnd(kMessageRecordStart, messageRecordLength)};
}
