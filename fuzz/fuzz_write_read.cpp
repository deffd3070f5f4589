// Writes a record into a carrier and reads it back. Input: one byte choosing
// the record, two bytes (a signed big-endian number) that move the carrier's
// size around the smallest size that takes the text, then the text. Sizes
// stay near that boundary, where the checks matter and the runs stay fast.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "CarrierRecords.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const std::int32_t start = (data[0] & 1) != 0 ? kMessageRecordStart : kPasswordRecordStart;
    const auto offset = static_cast<std::int16_t>((data[1] << 8) | data[2]) / 8;
    const std::string text(data + 3, data + size);
    const std::size_t padded = (text.size() + 7) / 8 * 8;
    const std::size_t carrierSize = static_cast<std::size_t>(
        std::max<std::int64_t>(0, static_cast<std::int64_t>(8 * padded) + 1000 + offset));

    std::vector<std::uint8_t> carrier(carrierSize);
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        carrier[i] = static_cast<std::uint8_t>(data[i % size] + i);
    }
    const std::vector<std::uint8_t> original = carrier;
    const auto length = static_cast<std::int32_t>(carrierSize);

    CountingReporter checked;
    CountingReporter written;
    const int canWrite = CanCurtainString(length, start, text, checked);
    const int wrote = CurtainString(carrier.data(), length, start, text, written);
    Require(canWrite == wrote && checked.count == written.count && checked.last == written.last);
    if (wrote != 1) {
        Require(written.count == 1 && carrier == original);
        return 0;
    }
    Require(written.count == 0);

    // Only bit 0 of the record's own bytes may change.
    const auto first = static_cast<std::ptrdiff_t>(start) - 32;
    const auto end =
        static_cast<std::ptrdiff_t>(start) + 8 * static_cast<std::ptrdiff_t>(padded) + 56;
    Require(std::equal(carrier.begin(), carrier.begin() + first, original.begin()));
    Require(std::equal(carrier.begin() + end, carrier.end(), original.begin() + end));
    for (std::ptrdiff_t i = first; i < end; ++i) {
        Require((carrier[static_cast<std::size_t>(i)] ^ original[static_cast<std::size_t>(i)]) <=
                1);
    }

    CountingReporter read;
    const CurtainedRecord record = ReadCurtainedRecord(carrier.data(), length, start, read);
    Require(record.deciphered && !record.malformed && read.count == 0);
    Require(record.text == Trimmed(text.substr(0, text.find('\0'))));
    return 0;
}
