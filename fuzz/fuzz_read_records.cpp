// Reads both records from arbitrary bytes taken as a carrier.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "CarrierRecords.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto length = static_cast<std::int32_t>(std::min<std::size_t>(size, kMaxCarrierLength));
    for (const std::int32_t start : {kPasswordRecordStart, kMessageRecordStart}) {
        CountingReporter reporter;
        const CurtainedRecord record = ReadCurtainedRecord(data, length, start, reporter);
        Require(reporter.count <= 1);
        Require(reporter.count == 0 || (record.text.empty() && reporter.last == kNoCurtainedData));
        Require(!record.malformed || reporter.count == 1);
        // A record read in full says nothing; one not found has no text.
        Require(!record.found || (reporter.count == 0 && !record.malformed));
        Require(record.found || record.text.empty());
        Require(record.text.find('\0') == std::string::npos);
        Require(record.text == Trimmed(record.text));

        CountingReporter again;
        Require(ReadCurtainedString(data, length, start, again) == record.text);
        Require(again.count == reporter.count);
    }
    return 0;
}
