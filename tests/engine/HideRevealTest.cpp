// The Hide and Reveal road both front ends take: one judgement of a Hide,
// one writer of both records, one reader that reads no more than it needs.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "Hiding.h"
#include "PasswordRules.h"
#include "RecordingReporter.h"
#include "Revealing.h"
#include "TestBitmaps.h"

namespace {

std::int32_t Size(const Bytes& carrier) {
    return static_cast<std::int32_t>(carrier.size());
}

Bytes Bitmap(int bits, std::int32_t width, std::int32_t height) {
    std::mt19937 rng(7);
    TestBitmap shape = Shape(bits, width, height);
    if (bits <= 8) {
        shape.palette = Palette(1 << bits, false, rng);
    }
    shape.pixels = RandomBytes(static_cast<std::size_t>(RowStride(width, bits) * height), rng,
                               bits <= 8 ? (1u << bits) : 256);
    return WriteBitmap(shape);
}

// Hides as a front end does; the records must fit.
Bytes Hidden(Bytes carrier, const HideRecords& records) {
    RecordingReporter reporter;
    EXPECT_TRUE(WriteRecords(WholeCarrier(carrier.data(), Size(carrier)), records, reporter));
    EXPECT_TRUE(reporter.messages.empty());
    return carrier;
}

TEST(HideAssessment, JudgesTheRecordThatWillBeWrittenAndLeavesTooLongToTheSizeRule) {
    const Bytes truecolour = Bitmap(24, 64, 48);  // 9270 bytes: 1032 message bytes
    const Bytes oneBit = Bitmap(1, 320, 240);
    struct Case {
        const Bytes* carrier;
        std::int64_t messageLength;
        Sealing sealing;
        bool fits;
        bool couldVisiblyChange;
    };
    for (const Case& c : {
             Case{&truecolour, 1032, Sealing::kPlain, true, false},
             Case{&truecolour, 1033, Sealing::kPlain, false, false},
             Case{&truecolour, 600, Sealing::kSealed, true, false},
             Case{&truecolour, 800, Sealing::kSealed, false, false},
             Case{&oneBit, 8, Sealing::kPlain, true, true},
         }) {
        const HideAssessment hide = AssessHide(*c.carrier, c.messageLength, c.sealing);
        const std::int64_t written =
            c.sealing == Sealing::kSealed
                ? SealedRecords(std::string(static_cast<std::size_t>(c.messageLength), 'm'),
                                "password", LeastSealLimits())
                      .MessageRecordLength()
                : (c.messageLength + 7) / 8 * 8;
        EXPECT_EQ(hide.recordLength, written) << c.messageLength;
        EXPECT_EQ(hide.fits, c.fits) << c.messageLength;
        EXPECT_EQ(hide.couldVisiblyChange, c.couldVisiblyChange) << c.messageLength;
        EXPECT_EQ(hide.warning.empty(), !c.couldVisiblyChange) << c.messageLength;
    }
    EXPECT_TRUE(AssessHide(oneBit, 8, Sealing::kPlain).convertible);
    EXPECT_FALSE(AssessHide(Bytes(9270, 0x55), 8, Sealing::kPlain).convertible);
}

TEST(HideRecords, ARecordThatDoesNotFitIsReportedAndNothingIsWritten) {
    const Bytes carrier = Bitmap(24, 64, 48);
    Bytes written = carrier;
    RecordingReporter reporter;
    EXPECT_FALSE(WriteRecords(WholeCarrier(written.data(), Size(written)),
                              PlainRecords(std::string(1033, 'm'), "password"), reporter));
    EXPECT_EQ(reporter.messages, std::vector<std::string>{kImageVerySmall});
    EXPECT_EQ(written, carrier);
}

// A fetch that counts what it is asked for.
struct CountingFetch {
    const Bytes* carrier;
    std::vector<std::pair<std::int64_t, std::int64_t>>* calls;
    std::vector<std::uint8_t> operator()(std::int64_t first, std::int64_t end) const {
        calls->emplace_back(first, end);
        return {carrier->begin() + first, carrier->begin() + end};
    }
};

TEST(CarrierReading, TellsWhatRevealFindsAndReadsAPlainMessageOnlyAfterThePassword) {
    const Bytes picture = Bitmap(24, 64, 48);
    const Bytes plain = Hidden(picture, PlainRecords("meet at nine", "password99"));
    const Bytes sealed =
        Hidden(picture, SealedRecords("meet at nine", "whole password", LeastSealLimits()));
    // The sealed carriers' password record over a message that is no box.
    const Bytes sentinelOnly = Hidden(picture, HideRecords{SealedStoredForm(), "meet at nine"});

    std::vector<std::pair<std::int64_t, std::int64_t>> calls;
    const CarrierReading reading(Size(plain), CountingFetch{&plain, &calls});
    EXPECT_EQ(reading.GetKind(), CarrierReading::Kind::kPlain);
    for (const auto& [first, end] : calls) {
        EXPECT_LT(end, kMessageRecordStart - 32) << "the message record was read early";
    }
    EXPECT_TRUE(reading.Matches("password"));
    EXPECT_FALSE(reading.Matches("passwor"));
    EXPECT_EQ(reading.ReadMessage(), "meet at nine");

    const CarrierReading sealedReading(sealed.data(), Size(sealed));
    EXPECT_EQ(sealedReading.GetKind(), CarrierReading::Kind::kSealed);
    EXPECT_FALSE(sealedReading.Matches(std::string(kSealSentinel)));
    EXPECT_EQ(sealedReading.OpenSealed("whole passwor"), std::nullopt);
    EXPECT_EQ(sealedReading.OpenSealed("whole password")->View(), "meet at nine");

    for (const Bytes* nothing : {&picture, &sentinelOnly}) {
        const CarrierReading none(nothing->data(), Size(*nothing));
        EXPECT_EQ(none.GetKind(), CarrierReading::Kind::kNoRecords);
        EXPECT_FALSE(none.Matches(std::string(kSealSentinel)));
    }
}

}  // namespace

namespace {

// A carrier of the largest size, never held: every byte is 0 but for bit 0
// of the two length words, which claim `passwordLength` and `messageLength`.
// Counts what is fetched.
struct ClaimingCarrier {
    std::uint32_t passwordLength;
    std::uint32_t messageLength;
    std::int64_t* fetched;
    std::vector<std::uint8_t> operator()(std::int64_t first, std::int64_t end) const {
        *fetched += end - first;
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(end - first), 0);
        for (std::int64_t p = first; p < end; ++p) {
            const auto put = [&](std::int64_t word, std::uint32_t value) {
                if (p >= word && p < word + 32)
                    bytes[static_cast<std::size_t>(p - first)] = (value >> (p - word)) & 1u;
            };
            put(kPasswordRecordStart - 32, passwordLength);
            put(kMessageRecordStart - 32, messageLength);
        }
        return bytes;
    }
};

TEST(CarrierReading, ReadsNoMoreThanTheRecordsWhateverTheLengthWordsClaim) {
    constexpr auto kLongest = static_cast<std::uint32_t>(MessageCapacity(kMaxCarrierLength));
    constexpr auto kCarrier = static_cast<std::int32_t>(kMaxCarrierLength);
    std::int64_t fetched = 0;
    const CarrierReading huge(kCarrier, ClaimingCarrier{kLongest, 16, &fetched});
    EXPECT_EQ(huge.GetKind(), CarrierReading::Kind::kNoRecords);
    EXPECT_LE(fetched, 32);

    // A password record as Hide writes one (its text is not a stored form)
    // over a message length word claiming the longest record: nothing of the
    // message is read before the password.
    fetched = 0;
    const CarrierReading plain(kCarrier, ClaimingCarrier{16, kLongest, &fetched});
    EXPECT_EQ(plain.GetKind(), CarrierReading::Kind::kPlain);
    EXPECT_LE(fetched, 32 + 16 * 8 + 56);
}

// An earlier Hide of 1,080 letters, for shorter Hides over it.
struct EarlierHide {
    Bytes picture;
    std::string message;
    Bytes carrier;
};

EarlierHide HiddenLong(Bytes picture) {
    std::mt19937 rng(11);
    std::string message(1080, ' ');
    for (char& letter : message) {
        letter = static_cast<char>('a' + rng() % 26);
    }
    Bytes carrier = Hidden(picture, PlainRecords(message, "password99"));
    return {std::move(picture), std::move(message), std::move(carrier)};
}

// Writes `value` as the message length word, as a stray or forged one would be.
void SetMessageLengthWord(Bytes& carrier, std::uint32_t value) {
    for (std::size_t k = 0; k < 32; ++k) {
        const std::size_t at = kMessageRecordStart - 32 + k;
        carrier[at] = static_cast<std::uint8_t>((carrier[at] & ~1u) | ((value >> k) & 1u));
    }
}

// Whether the bytes from `first` on are as they were.
bool UnchangedFrom(const Bytes& before, const Bytes& after, std::int64_t first) {
    return std::equal(before.begin() + first, before.end(), after.begin() + first);
}

TEST(HideRecords, OnlyRecordsAHideCouldHaveWrittenAreWiped) {
    const EarlierHide earlier = HiddenLong(Bitmap(24, 80, 48));
    EXPECT_EQ(AssessHide(earlier.carrier, 8, Sealing::kPlain).wipeEnd, 1080);
    Bytes noPasswordRecord = earlier.picture;
    SetMessageLengthWord(noPasswordRecord, 1080);
    Bytes notWholeBlocks = earlier.carrier;
    SetMessageLengthWord(notWholeBlocks, 1081);
    Bytes pastTheCapacity = earlier.carrier;
    SetMessageLengthWord(pastTheCapacity, 1328);
    Bytes huge = earlier.carrier;
    SetMessageLengthWord(huge, 0x7FFFFFF8u);
    for (const Bytes* carrier : {&noPasswordRecord, &notWholeBlocks, &pastTheCapacity, &huge}) {
        const HideAssessment hide = AssessHide(*carrier, 8, Sealing::kPlain);
        EXPECT_EQ(hide.oldRecordLength, 0);
        HideRecords records = PlainRecords("note", "password99");
        records.wipeEnd = hide.wipeEnd;
        EXPECT_TRUE(UnchangedFrom(*carrier, Hidden(*carrier, records), HideSpan(8).end));
    }
}

}  // namespace
