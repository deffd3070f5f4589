#pragma once

#include <cstdint>
#include <string>

#include "Reporter.h"

// The hidden-data format. A record starting at carrier position S is a 32-bit
// length word L in bit 0 of bytes S-32..S-1 (bit k in byte S-32+k), followed
// by L enciphered bytes whose bit j of byte k sits in bit 0 of byte S+8k+9j.
// Only bit 0 of bytes from 68 on is ever changed. All position arithmetic is
// done in 64 bits, so any carrier of up to kMaxCarrierLength bytes is safe.
// A position below 0 (a start below 32) is a caller's mistake: the routines
// then fail without a report and touch nothing.

inline constexpr std::int32_t kPasswordRecordStart = 100;
inline constexpr std::int32_t kMessageRecordStart = 320;
// Carriers are at most this long: their length is a signed 32-bit number.
inline constexpr std::int64_t kMaxCarrierLength = 0x7FFFFFFF;

// Messages the format shows, exactly as the user sees them.
inline constexpr const char* kNoTextToCurtain = "There are no text to curtain";
inline constexpr const char* kImageVerySmall = "Image is very small.";
inline constexpr const char* kNoCurtainedData = "Image does not contain curtained data ..";

// Writes V as a length word at position P. Returns 1, or -1 after reporting
// kImageVerySmall when the carrier is shorter than P + 32 (nothing changed).
int CurtainLength(std::uint8_t* carrier, std::int32_t carrierLength, std::int32_t position,
                  std::uint32_t value, Reporter& reporter);

// Checks, without writing, whether CurtainString would succeed; on failure
// reports exactly what CurtainString would report and returns -1. Lets a
// caller make sure that both records fit before writing either.
int CanCurtainString(std::int32_t carrierLength, std::int32_t start, const std::string& text,
                     Reporter& reporter);

// Pads `text` with zero bytes to a multiple of 8, enciphers it under the fixed
// key and writes length word and ciphertext at `start`. Returns 1, or -1 after
// a report; on failure the carrier is left exactly as it was.
int CurtainString(std::uint8_t* carrier, std::int32_t carrierLength, std::int32_t start,
                  std::string text, Reporter& reporter);

// Reads the length word at P: the length, or -1 (reporting kNoCurtainedData
// when it is 0 or larger than the carrier; silently otherwise).
std::int32_t ReadCurtainLength(const std::uint8_t* carrier, std::int32_t carrierLength,
                               std::int32_t position, Reporter& reporter);

// A read record: its text, whether it failed in an orderly way on a length
// word that is not a whole number of cipher blocks (reported once as
// kNoCurtainedData, text empty), and whether it was read at all: a record
// that was not found has an empty text, as has a record of blanks that was.
struct CurtainedRecord {
    std::string text;
    bool malformed = false;
    bool found = false;
};

CurtainedRecord ReadCurtainedRecord(const std::uint8_t* carrier, std::int32_t carrierLength,
                                    std::int32_t start, Reporter& reporter);

// The deciphered text up to its first zero byte, trailing white space
// removed; the empty string when the record cannot be read.
std::string ReadCurtainedString(const std::uint8_t* carrier, std::int32_t carrierLength,
                                std::int32_t start, Reporter& reporter);
