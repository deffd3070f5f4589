// Records read and written through a window of the carrier must come out as
// they do on the whole carrier in memory, which is the oracle here, over
// many generated carriers.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "CarrierRecords.h"
#include "RecordingReporter.h"
#include "TestBytes.h"

namespace {

Bytes RandomBytes(std::size_t size, std::mt19937& rng) {
    Bytes bytes(size);
    std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(rng()); });
    return bytes;
}

std::string RandomText(std::size_t size, std::mt19937& rng) {
    std::string text(size, ' ');
    std::generate(text.begin(), text.end(), [&] { return static_cast<char>(1 + rng() % 255); });
    return text;
}

std::int32_t Size(const Bytes& carrier) {
    return static_cast<std::int32_t>(carrier.size());
}

// Sets the length word before `start` to `value`, bit k in bit 0 of byte k.
void SetLengthWord(Bytes& carrier, std::int32_t start, std::uint32_t value) {
    for (int k = 0; k < 32; ++k) {
        std::uint8_t& byte = carrier[static_cast<std::size_t>(start - 32 + k)];
        byte = static_cast<std::uint8_t>((byte & ~1u) | ((value >> k) & 1u));
    }
}

std::int64_t LengthWord(const Bytes& carrier, std::int32_t start) {
    std::uint32_t value = 0;
    for (int k = 0; k < 32; ++k) {
        value |= (carrier[static_cast<std::size_t>(start - 32 + k)] & 1u) << k;
    }
    return static_cast<std::int32_t>(value);
}

// A carrier of one of several kinds: noise, real records, or a length word
// that is zero, negative, not whole blocks, or runs to or past the end.
Bytes GeneratedCarrier(int kind, std::mt19937& rng) {
    Bytes carrier = RandomBytes(rng() % 6000 + (kind == 0 ? 0 : 400), rng);
    const std::int64_t room = (Size(carrier) - kMessageRecordStart - kRecordTail) / kByteStride;
    const auto rounded = static_cast<std::uint32_t>(std::max<std::int64_t>(room, 0) / 8 * 8);
    SilentReporter silent;
    switch (kind % 6) {
        case 1:
            CurtainString(carrier.data(), Size(carrier), kPasswordRecordStart,
                          RandomText(1 + rng() % 16, rng), silent);
            CurtainString(carrier.data(), Size(carrier), kMessageRecordStart,
                          RandomText(1 + rng() % 300, rng), silent);
            break;
        case 2:
            SetLengthWord(carrier, kMessageRecordStart,
                          rng() % 2 ? 0u : static_cast<std::uint32_t>(0x80000000u | rng()));
            break;
        case 3:
            SetLengthWord(carrier, kMessageRecordStart,
                          static_cast<std::uint32_t>(1 + rng() % 100));
            break;
        case 4:
            SetLengthWord(carrier, kMessageRecordStart, rounded);
            break;
        case 5:
            SetLengthWord(carrier, kMessageRecordStart, rounded + 8);
            break;
        default:
            break;
    }
    return carrier;
}

TEST(CarrierWindow, FetchedRecordsReadAsTheWholeCarrierReadsThemFetchingOnlyTheirBytes) {
    std::mt19937 rng(12);
    for (int round = 0; round < 600; ++round) {
        const Bytes carrier = GeneratedCarrier(round, rng);
        for (const std::int32_t start : {kPasswordRecordStart, kMessageRecordStart}) {
            SCOPED_TRACE(testing::Message() << "round " << round << ", size " << carrier.size()
                                            << ", start " << start);
            RecordingReporter wholeReports;
            const CurtainedRecord whole =
                ReadCurtainedRecord(carrier.data(), Size(carrier), start, wholeReports);

            std::int64_t fetched = 0;
            const CarrierFetch fetch = [&](std::int64_t first, std::int64_t end) {
                EXPECT_TRUE(0 <= first && first < end && end <= Size(carrier)) << first << end;
                fetched += end - first;
                return Bytes(carrier.begin() + first, carrier.begin() + end);
            };
            RecordingReporter fetchedReports;
            const CurtainedRecord read =
                FetchCurtainedRecord(Size(carrier), start, fetch, fetchedReports);

            EXPECT_EQ(read.text, whole.text);
            EXPECT_EQ(read.malformed, whole.malformed);
            EXPECT_EQ(read.deciphered, whole.deciphered);
            EXPECT_EQ(fetchedReports.messages, wholeReports.messages);
            const std::int64_t recordBytes =
                whole.deciphered ? kByteStride * LengthWord(carrier, start) + kRecordTail : 0;
            EXPECT_LE(fetched, 32 + recordBytes);
        }
    }
}

TEST(CarrierWindow, RecordsWrittenInTheHideSpanEqualThoseWrittenInTheWholeCarrier) {
    std::mt19937 rng(21);
    for (int round = 0; round < 300; ++round) {
        const Bytes original = RandomBytes(200 + rng() % 5000, rng);
        const std::int64_t capacity = MessageCapacity(Size(original));
        const std::string stored = RandomText(16, rng);
        const std::string message =
            RandomText(1 + rng() % static_cast<std::size_t>(capacity + 24), rng);
        SCOPED_TRACE(testing::Message() << "size " << original.size() << ", message "
                                        << message.size() << ", capacity " << capacity);

        Bytes whole = original;
        RecordingReporter wholeReports;
        const int wholeResult =
            CurtainString(whole.data(), Size(whole), kPasswordRecordStart, stored, wholeReports) +
            CurtainString(whole.data(), Size(whole), kMessageRecordStart, message, wholeReports);

        // The span a Hide names, cut to the carrier as a file read would be.
        const ByteSpan span = HideSpan(PaddedLength(std::ssize(message)));
        const std::int64_t end = std::min<std::int64_t>(span.end, Size(original));
        Bytes bytes(original.begin() + span.first, original.begin() + end);
        const CarrierWindow window{bytes, span.first, Size(original)};
        RecordingReporter windowReports;
        const int windowResult =
            CurtainString(window, kPasswordRecordStart, stored, windowReports) +
            CurtainString(window, kMessageRecordStart, message, windowReports);

        Bytes patched = original;
        std::copy(bytes.begin(), bytes.end(), patched.begin() + span.first);
        EXPECT_EQ(windowResult, wholeResult);
        EXPECT_EQ(windowReports.messages, wholeReports.messages);
        EXPECT_EQ(patched, whole);

        if (wholeResult == 2) {
            // A window a byte short of what a record needs is refused untouched.
            SilentReporter silent;
            Bytes late(original.begin() + span.first + 1, original.begin() + end);
            const Bytes lateBefore = late;
            EXPECT_EQ(CurtainString({late, span.first + 1, Size(original)}, kPasswordRecordStart,
                                    stored, silent),
                      -1);
            EXPECT_EQ(late, lateBefore);
            Bytes early(original.begin() + span.first, original.begin() + end - 1);
            const Bytes earlyBefore = early;
            EXPECT_EQ(CurtainString({early, span.first, Size(original)}, kMessageRecordStart,
                                    message, silent),
                      -1);
            EXPECT_EQ(early, earlyBefore);
        }
    }
}

}  // namespace
