// Reads both records from arbitrary bytes taken as a carrier.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

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
        Require(!record.deciphered || (reporter.count == 0 && !record.malformed));
        Require(record.deciphered || record.text.empty());
        Require(record.text.find('\0') == std::string::npos);
        Require(record.text == Trimmed(record.text));

        CountingReporter again;
        Require(ReadCurtainedString(data, length, start, again) == record.text);
        Require(again.count == reporter.count);

        // Read through fetches of only the bytes asked for, as from a file.
        CountingReporter fetchedReports;
        const CurtainedRecord fetched = FetchCurtainedRecord(
            length, start,
            [&](std::int64_t first, std::int64_t end) {
                Require(0 <= first && first < end && end <= length);
                return std::vector<std::uint8_t>(data + first, data + end);
            },
            fetchedReports);
        Require(fetched.text == record.text && fetched.malformed == record.malformed &&
                fetched.deciphered == record.deciphered);
        Require(fetchedReports.count == reporter.count);
    }
    return 0;
}
