#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "BlowfishCipher.h"
#include "CarrierRecords.h"
#include "RecordingReporter.h"
#include "TestBytes.h"

namespace {

using Messages = std::vector<std::string>;

Bytes RandomCarrier(std::size_t size, std::mt19937& rng) {
    Bytes carrier(size);
    for (auto& byte : carrier) {
        byte = static_cast<std::uint8_t>(rng());
    }
    return carrier;
}

std::int32_t Size(const Bytes& carrier) {
    return static_cast<std::int32_t>(carrier.size());
}

void SetBit0(Bytes& carrier, std::size_t position, unsigned bit) {
    carrier[position] = static_cast<std::uint8_t>((carrier[position] & ~1u) | (bit & 1u));
}

// The carrier a record should leave, built from the layout alone: the length
// word in bit 0 of start-32..start-1, bit j of ciphertext byte k at start+8k+9j.
Bytes LaidOut(Bytes carrier, std::size_t start, std::string text) {
    text.resize((text.size() + 7) / 8 * 8, '\0');
    const Bytes key = AsBytes("copper7311window");
    const CBlowfishCipher cipher(key.data(), key.size(), {});
    Bytes secret = AsBytes(text);
    cipher.Encrypt(secret.data(), secret.data(), secret.size());
    for (std::size_t k = 0; k < 32; ++k) {
        SetBit0(carrier, start - 32 + k, static_cast<unsigned>(secret.size() >> k));
    }
    for (std::size_t k = 0; k < secret.size(); ++k) {
        for (std::size_t j = 0; j < 8; ++j) {
            SetBit0(carrier, start + 8 * k + 9 * j, unsigned{secret[k]} >> j);
        }
    }
    return carrier;
}

std::string Trimmed(std::string text) {
    text.erase(text.find_last_not_of(" \t\n\v\f\r") + 1);
    return text;
}

std::string Read(const Bytes& carrier, std::int32_t start, Reporter& reporter) {
    return ReadCurtainedString(carrier.data(), Size(carrier), start, reporter);
}

TEST(CarrierRecords, WritesBitsWhereTheLayoutPutsThem) {
    std::mt19937 rng(7);
    const Bytes original = RandomCarrier(2000, rng);
    const std::string message = "Meet me at the old mill at nine.";
    Bytes carrier = original;
    RecordingReporter reporter;
    EXPECT_EQ(CurtainString(carrier.data(), Size(carrier), kPasswordRecordStart, "secret1258203614",
                            reporter),
              1);
    EXPECT_EQ(CurtainString(carrier.data(), Size(carrier), kMessageRecordStart, message, reporter),
              1);
    EXPECT_EQ(carrier, LaidOut(LaidOut(original, 100, "secret1258203614"), 320, message));
    EXPECT_EQ(reporter.messages, Messages{});
}

TEST(CarrierRecords, RandomMessagesRoundTrip) {
    std::mt19937 rng(20240607);
    for (int round = 0; round < 150; ++round) {
        std::string message(1 + rng() % 300, '\0');
        for (char& c : message) {
            c = static_cast<char>(1 + rng() % 255);
        }
        const std::size_t padded = (message.size() + 7) / 8 * 8;
        const Bytes original = RandomCarrier(8 * padded + 1000 + rng() % 3000, rng);
        Bytes carrier = original;
        RecordingReporter reporter;
        ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), 100, "password58203614", reporter),
                  1);
        ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), 320, message, reporter), 1);
        EXPECT_EQ(Read(carrier, 100, reporter), "password58203614");
        EXPECT_EQ(Read(carrier, 320, reporter), Trimmed(message)) << "round " << round;
        EXPECT_EQ(reporter.messages, Messages{});

        // Only bit 0 changes, never below byte 68, and hiding again is idempotent.
        for (std::size_t i = 0; i < carrier.size(); ++i) {
            ASSERT_LE(carrier[i] ^ original[i], i < 68 ? 0 : 1) << "byte " << i;
        }
        const Bytes once = carrier;
        ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), 320, message, reporter), 1);
        EXPECT_EQ(carrier, once);
    }
}

TEST(CarrierRecords, LengthWordCountsWholeBlocks) {
    RecordingReporter reporter;
    Bytes carrier;
    for (const auto& [message, length] : {std::pair{"12345678", 8}, {"123456789", 16}, {"hi", 8}}) {
        carrier.assign(1200, 0xFF);
        ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), 320, message, reporter), 1);
        EXPECT_EQ(ReadCurtainLength(carrier.data(), Size(carrier), 288, reporter), length);
    }
    // After "hi": L = 8 leaves bit 0 set only in byte 291 of the length word,
    // and the 64 ciphertext bits lie at 320 + 8k + 9j, all below 440.
    std::set<std::size_t> cipherBits;
    for (std::size_t k = 0; k < 8; ++k) {
        for (std::size_t j = 0; j < 8; ++j) {
            cipherBits.insert(320 + 8 * k + 9 * j);
        }
    }
    EXPECT_EQ(cipherBits.size(), 64u);
    EXPECT_EQ(*cipherBits.rbegin(), 439u);
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        const bool lengthBit = i >= 288 && i < 320;
        if (cipherBits.count(i) == 0) {
            EXPECT_EQ(carrier[i], lengthBit && i != 291 ? 0xFE : 0xFF) << "byte " << i;
        }
    }
}

TEST(CarrierRecords, ReadsBackTextCutAtZeroWithoutTrailingWhiteSpace) {
    Bytes carrier(3000, 0x80);
    RecordingReporter reporter;
    for (const auto& [written, read] :
         {std::pair<std::string, std::string>{"two spaces  ", "two spaces"},
          {"line break\r\n", "line break"},
          {" \tkept\v inside\f", " \tkept\v inside"},
          {std::string("ab\0cd", 5), "ab"},
          {" \n", ""}}) {
        ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), 320, written, reporter), 1);
        EXPECT_EQ(Read(carrier, 320, reporter), read);
    }
    EXPECT_EQ(reporter.messages, Messages{});
}

TEST(CarrierRecords, FailedWritesLeaveTheCarrierAsItWas) {
    std::mt19937 rng(11);
    struct Case {
        std::size_t size;
        std::int32_t start;
        std::string text;
        const char* message;
    };
    for (const Case& c : {Case{1127, 100, "password58203614", kImageVerySmall},
                          Case{99, 100, "password58203614", kImageVerySmall},
                          Case{1000 + 8 * 16 - 1, 320, std::string(9, 'x'), kImageVerySmall},
                          Case{5000, 320, "", kRecordWriterNoText}}) {
        SCOPED_TRACE(c.size);
        const Bytes original = RandomCarrier(c.size, rng);
        Bytes carrier = original;
        RecordingReporter checked;
        RecordingReporter written;
        EXPECT_EQ(CanCurtainString(Size(carrier), c.start, c.text, checked), -1);
        EXPECT_EQ(CurtainString(carrier.data(), Size(carrier), c.start, c.text, written), -1);
        EXPECT_EQ(carrier, original);
        EXPECT_EQ(written.messages, Messages{c.message});
        EXPECT_EQ(checked.messages, written.messages);
    }
    Bytes carrier(1128);
    RecordingReporter reporter;
    EXPECT_EQ(CanCurtainString(Size(carrier), 100, "password58203614", reporter), 1);
    EXPECT_EQ(CurtainString(carrier.data(), Size(carrier), 100, "password58203614", reporter), 1);
    EXPECT_EQ(CurtainLength(carrier.data(), Size(carrier), 1097, 5, reporter), -1);
    EXPECT_EQ(reporter.messages, Messages{kImageVerySmall});
}

// Puts a length word at 288 and returns what the message record reads as.
CurtainedRecord ReadWithLengthWord(Bytes carrier, std::uint32_t length, Reporter& reporter,
                                   std::int32_t statedSize = 0) {
    for (std::size_t k = 0; k < 32; ++k) {
        SetBit0(carrier, 288 + k, length >> k);
    }
    return ReadCurtainedRecord(carrier.data(), statedSize ? statedSize : Size(carrier), 320,
                               reporter);
}

TEST(CarrierRecords, ImplausibleLengthWordsReadAsNothing) {
    struct Case {
        std::size_t size;
        std::uint32_t length;
        Messages messages;
        bool malformed = false;
    };
    for (const Case& c : {Case{2000, 0xFFFFFFFF, {}},            // negative: silent
                          Case{2000, 0, {kNoCurtainedData}},     // empty
                          Case{2000, 2001, {kNoCurtainedData}},  // longer than the carrier
                          Case{2000, 0x7FFFFFF8, {kNoCurtainedData}},
                          Case{439, 8, {}},  // runs one byte past the end
                          Case{2000, 12, {kNoCurtainedData}, true}}) {
        SCOPED_TRACE(c.length);
        RecordingReporter reporter;
        const CurtainedRecord record = ReadWithLengthWord(Bytes(c.size, 0x42), c.length, reporter);
        EXPECT_EQ(record.text, "");
        EXPECT_EQ(record.malformed, c.malformed);
        EXPECT_EQ(reporter.messages, c.messages);
    }
    RecordingReporter reporter;
    EXPECT_EQ(ReadWithLengthWord(Bytes(440, 0x42), 8, reporter).malformed, false);

    for (const std::size_t size : {0u, 99u, 100u}) {
        EXPECT_EQ(Read(Bytes(size, 0x42), 100, reporter), "");
    }
    EXPECT_EQ(reporter.messages, Messages{});
    EXPECT_EQ(Read(Bytes(101, 0x42), 100, reporter), "");
    EXPECT_EQ(reporter.messages, Messages{kNoCurtainedData});
}

// Sums such as start + 8L + 56 exceed 32 bits for large carriers. The stated
// sizes below are far larger than the buffers: with correct bounds checks no
// byte past the length word is touched, while a wrapped sum would read or
// write far out of bounds (caught under AddressSanitizer).
TEST(CarrierRecords, LargePositionsAndLengthsDoNotWrap) {
    Bytes carrier(400, 0x42);
    const Bytes original = carrier;
    RecordingReporter reporter;
    EXPECT_EQ(ReadWithLengthWord(carrier, (1u << 28) + 8, reporter, INT32_MAX).text, "");
    EXPECT_EQ(ReadWithLengthWord(carrier, INT32_MAX - 7, reporter, INT32_MAX).text, "");
    EXPECT_EQ(ReadCurtainLength(carrier.data(), Size(carrier), INT32_MAX - 10, reporter), -1);
    EXPECT_EQ(Read(carrier, INT32_MAX, reporter), "");
    EXPECT_EQ(reporter.messages, Messages{});

    EXPECT_EQ(CurtainLength(carrier.data(), Size(carrier), INT32_MAX - 10, 8, reporter), -1);
    EXPECT_EQ(CanCurtainString(INT32_MAX, INT32_MAX - 100, "text", reporter), -1);
    EXPECT_EQ(reporter.messages, (Messages{kImageVerySmall, kImageVerySmall}));

    // Starts with no room for a length word are a caller's mistake: they fail
    // without a report and write nothing.
    reporter.messages.clear();
    EXPECT_EQ(CurtainString(carrier.data(), Size(carrier), 31, "text", reporter), -1);
    EXPECT_EQ(CurtainLength(carrier.data(), Size(carrier), -1, 8, reporter), -1);
    EXPECT_EQ(Read(carrier, INT32_MIN, reporter), "");
    EXPECT_EQ(reporter.messages, Messages{});
    EXPECT_EQ(carrier, original);
}

}  // namespace
