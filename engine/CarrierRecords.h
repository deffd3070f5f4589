#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CarrierWindow.h"
#include "RecordGeometry.h"
#include "Reporter.h"

// The hidden-data format: writing and reading the records laid out in
// RecordGeometry.h. Only bit 0 of bytes from 68 on is ever changed. A
// position below 0 (a start below 32) is a caller's mistake: the routines
// then fail without a report and touch nothing.
//
// Each routine works on a carrier held whole in memory, or on a window of
// one (CarrierWindow.h) with the same results, so that a caller can read and
// write only the bytes the records occupy.

// Messages the format shows, exactly as the user sees them. The record
// writer's own refusal of an empty text is worded unlike Hide's refusal of an
// empty message (kEmptyMessage, "There is no text ..."): two texts, kept apart.
inline constexpr const char* kRecordWriterNoText = "There are no text to curtain";
inline constexpr const char* kImageVerySmall = "Image is very small.";
inline constexpr const char* kNoCurtainedData = "Image does not contain curtained data ..";

// Writes V as a length word at position P. Returns 1, or -1 after reporting
// kImageVerySmall when the carrier is shorter than P + 32 (nothing changed).
int CurtainLength(std::uint8_t* carrier, std::int32_t carrierLength, std::int32_t position,
                  std::uint32_t value, Reporter& reporter);
int CurtainLength(const CarrierWindow& carrier, std::int32_t position, std::uint32_t value,
                  Reporter& reporter);

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
int CurtainString(const CarrierWindow& carrier, std::int32_t start, std::string text,
                  Reporter& reporter);

// `text` padded with zero bytes to a multiple of 8 and enciphered under the
// records' key: the ciphertext a record of `text` holds.
std::vector<std::uint8_t> EncipherRecordText(std::string text);

// Reads the length word at P: the length, or -1 (reporting kNoCurtainedData
// when it is 0 or larger than the carrier; silently otherwise).
std::int32_t ReadCurtainLength(const std::uint8_t* carrier, std::int32_t carrierLength,
                               std::int32_t position, Reporter& reporter);
std::int32_t ReadCurtainLength(const CarrierView& carrier, std::int32_t position,
                               Reporter& reporter);

// A read record: its text; whether it failed in an orderly way on a length
// word that is not a whole number of cipher blocks (reported once as
// kNoCurtainedData, text empty); and whether it lay whole inside the carrier
// and was deciphered, which tells an empty text from no record at all.
struct CurtainedRecord {
    std::string text;
    bool malformed = false;
    bool deciphered = false;
};

CurtainedRecord ReadCurtainedRecord(const std::uint8_t* carrier, std::int32_t carrierLength,
                                    std::int32_t start, Reporter& reporter);
CurtainedRecord ReadCurtainedRecord(const CarrierView& carrier, std::int32_t start,
                                    Reporter& reporter);

// Gives the carrier's bytes [first, end), which lie inside it; may throw.
using CarrierFetch = std::function<std::vector<std::uint8_t>(std::int64_t first, std::int64_t end)>;

// ReadCurtainedRecord on a carrier `carrierLength` bytes long that is not in
// memory: fetches its length word and then, only when the record is to be
// deciphered, the record's bytes, a piece at a time. Reads are those of the
// record and memory about its enciphered length, whatever the carrier's
// size. With `requiredLength`, a length word of any other value is no record
// (silently), and nothing more is read.
CurtainedRecord FetchCurtainedRecord(std::int32_t carrierLength, std::int32_t start,
                                     const CarrierFetch& fetch, Reporter& reporter,
                                     std::optional<std::int32_t> requiredLength = std::nullopt);

// The deciphered text up to its first zero byte, trailing white space
// removed; the empty string when the record cannot be read.
std::string ReadCurtainedString(const std::uint8_t* carrier, std::int32_t carrierLength,
                                std::int32_t start, Reporter& reporter);
