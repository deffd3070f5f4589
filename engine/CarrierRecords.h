#pragma once

#include <cstdint>
#include <string>

#include "RecordGeometry.h"
#include "Reporter.h"

// The hidden-data format: writing and reading the records laid out in
// RecordGeometry.h. Only bit 0 of bytes from 68 on is ever changed. A
// position below 0 (a start below 32) is a caller's mistake: the routines
// then fail without a report and touch nothing.

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

// A read record: its text, and whether it failed in an orderly way on a
// length word that is not a whole number of cipher blocks (reported once as
// kNoCurtainedData, text empty).
struct CurtainedRecord {
    std::string text;
    bool malformed = false;
};

CurtainedRecord ReadCurtainedRecord(const std::uint8_t* carrier, std::int32_t carrierLength,
                                    std::int32_t start, Reporter& reporter);

// The deciphered text up to its first zero byte, trailing white space
// removed; the empty string when the record cannot be read.
std::string ReadCurtainedString(const std::uint8_t* carrier, std::int32_t carrierLength,
                                std::int32_t start, Reporter& reporter);
