#include <gtest/gtest.h>
#include <sodium.h>

#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "CarrierRecords.h"
#include "PasswordRules.h"
#include "RecordingReporter.h"
#include "Revealing.h"
#include "SealedMessage.h"
#include "TestBytes.h"

namespace {

std::int32_t Size(const Bytes& carrier) {
    return static_cast<std::int32_t>(carrier.size());
}

Bytes RandomCarrier(std::size_t size, unsigned seed) {
    std::mt19937 rng(seed);
    Bytes carrier(size);
    for (auto& byte : carrier) {
        byte = static_cast<std::uint8_t>(rng());
    }
    return carrier;
}

// Hides both records as a sealed Hide does; false when they do not fit.
bool HideSealed(Bytes& carrier, const std::string& message, const std::string& password,
                SealLimits limits) {
    RecordingReporter reporter;
    return CurtainString(carrier.data(), Size(carrier), kPasswordRecordStart, SealedStoredForm(),
                         reporter) == 1 &&
           CurtainString(carrier.data(), Size(carrier), kMessageRecordStart,
                         SealMessage(message, password, limits), reporter) == 1;
}

std::string ReadRecord(const Bytes& carrier, std::int32_t start) {
    RecordingReporter reporter;
    return ReadCurtainedString(carrier.data(), Size(carrier), start, reporter);
}

std::optional<std::string> Open(const Bytes& carrier, const std::string& password) {
    const CarrierReading reading(carrier.data(), Size(carrier));
    if (reading.GetKind() != CarrierReading::Kind::kSealed) {
        return std::nullopt;
    }
    const std::optional<SecretText> opened = reading.OpenSealed(password);
    return opened ? std::optional<std::string>(opened->View()) : std::nullopt;
}

// A reader written from the layout alone: base64 with its own table, then the
// box's fields, the key from Argon2id and the AEAD, called directly.
std::optional<std::string> OpenIndependently(const std::string& text, const std::string& password,
                                             std::uint64_t expectedOps,
                                             std::uint64_t expectedMemory) {
    const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    if (!text.starts_with(kSealMarker)) {
        return std::nullopt;
    }
    std::string box;
    unsigned accumulator = 0;
    int bits = 0;
    for (const char c : text.substr(kSealMarker.size())) {
        if (c == '=') {
            break;
        }
        const std::size_t value = alphabet.find(c);
        if (value == std::string::npos) {
            return std::nullopt;
        }
        accumulator = (accumulator << 6) | static_cast<unsigned>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            box += static_cast<char>((accumulator >> bits) & 0xFFu);
        }
    }
    const auto byte = [&](std::size_t i) {
        return std::uint64_t{static_cast<unsigned char>(box[i])};
    };
    std::uint64_t ops = 0;
    std::uint64_t memory = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        ops |= byte(1 + k) << (8 * k);
        memory |= byte(9 + k) << (8 * k);
    }
    EXPECT_EQ(byte(0), 1u);
    EXPECT_EQ(ops, expectedOps);
    EXPECT_EQ(memory, expectedMemory);
    const auto* bytes = reinterpret_cast<const unsigned char*>(box.data());
    const std::size_t header = 1 + 16 + 16 + 24;
    unsigned char key[32];
    EXPECT_EQ(crypto_pwhash(key, sizeof key, password.data(), password.size(), bytes + 17, ops,
                            memory, crypto_pwhash_ALG_ARGON2ID13),
              0);
    std::string message(box.size() - header - 16, '\0');
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            reinterpret_cast<unsigned char*>(message.data()), nullptr, nullptr, bytes + header,
            box.size() - header, bytes, header, bytes + 33, key) != 0) {
        return std::nullopt;
    }
    return message;
}

std::string EveryAllowedByte() {
    std::string message;
    for (int value = 1; value < 256; ++value) {
        message += static_cast<char>(value);
    }
    return message + "  \t\r\n";  // trailing white space comes back too
}

TEST(SealedCarrier, RoundTripsWithTheWholePasswordAndNothingElse) {
    ASSERT_GE(sodium_init(), 0);
    const std::string message = EveryAllowedByte();
    struct Case {
        std::string password;
        SealLimits limits;
    };
    const std::vector<Case> cases = {
        {"12345678", LeastSealLimits()},
        {"correct horse 16", {2, 16 * 1024}},
        {"1234567890ab", LeastSealLimits()},
        {"\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", LeastSealLimits()},
        {"\xE4\xF6\xFC\xDF\xE4\xF6\xFC\xDF\xE9", LeastSealLimits()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.password);
        Bytes carrier = RandomCarrier(1000 + 8 * 512, 7);
        ASSERT_TRUE(HideSealed(carrier, message, c.password, c.limits));

        // What any reader of the format sees: a password record of the usual
        // shape that is not the password's, and no trace of the words.
        const std::string stored = ReadRecord(carrier, kPasswordRecordStart);
        const std::string text = ReadRecord(carrier, kMessageRecordStart);
        EXPECT_EQ(stored.size(), 16u);
        EXPECT_TRUE(stored.ends_with(kStoredSuffix));
        EXPECT_EQ(stored.find(c.password.substr(0, 8)), std::string::npos);
        EXPECT_EQ(text.find(c.password.substr(0, 4)), std::string::npos);
        EXPECT_EQ(text.find("0123"), std::string::npos);
        EXPECT_EQ(text.find('\0'), std::string::npos);

        EXPECT_EQ(OpenIndependently(text, c.password, c.limits.ops, c.limits.memory), message);
        EXPECT_EQ(Open(carrier, c.password), message);
        if (c.password.size() > 8) {
            std::string tail = c.password;
            tail.back() = static_cast<char>(tail.back() ^ 1);
            EXPECT_EQ(Open(carrier, tail), std::nullopt);
            EXPECT_EQ(Open(carrier, c.password.substr(0, 8)), std::nullopt);
        }
    }
}

TEST(SealedCarrier, RecordLengthIsKnownBeforeSealingAndTheLongestMessageFits) {
    for (std::size_t length = 0; length < 6; ++length) {
        EXPECT_EQ(SealMessage(std::string(length, 'x'), "12345678", LeastSealLimits()).size(),
                  SealedTextLength(length));
    }
    for (const std::int32_t record : {104, 112, 400, 4096}) {
        SCOPED_TRACE(record);
        const Bytes blank(static_cast<std::size_t>(1000 + 8 * record));
        const std::size_t longest = LongestSealedMessage(static_cast<std::size_t>(record));
        const std::string message(longest, 'm');
        RecordingReporter reporter;
        if (longest > 0) {
            Bytes carrier = blank;
            ASSERT_TRUE(HideSealed(carrier, message, "12345678", LeastSealLimits()));
            EXPECT_EQ(Open(carrier, "12345678"), message);
            EXPECT_EQ(ReadCurtainLength(carrier.data(), Size(carrier), kMessageRecordStart - 32,
                                        reporter),
                      static_cast<std::int32_t>(SealedRecordLength(longest)));
        }
        EXPECT_EQ(
            CanCurtainString(Size(blank), kMessageRecordStart,
                             SealMessage(message + "m", "12345678", LeastSealLimits()), reporter),
            -1);
        EXPECT_EQ(reporter.messages, std::vector<std::string>{kImageVerySmall});
    }
}

TEST(SealedCarrier, EveryFlippedBitOfTheMessageRecordFailsInOrder) {
    Bytes sealed = RandomCarrier(1000 + 8 * 160, 11);
    ASSERT_TRUE(HideSealed(sealed, "meet me at the old mill at nine  ", "whole password",
                           LeastSealLimits()));
    const std::size_t length = SealedRecordLength(33);
    std::vector<std::size_t> positions;
    for (std::size_t k = 0; k < 32; ++k) {
        positions.push_back(std::size_t{kMessageRecordStart} - 32 + k);
    }
    for (std::size_t k = 0; k < length; ++k) {
        for (std::size_t j = 0; j < 8; ++j) {
            positions.push_back(std::size_t{kMessageRecordStart} + 8 * k + 9 * j);
        }
    }
    int broken = 0;
    for (const std::size_t position : positions) {
        Bytes carrier = sealed;
        carrier[position] ^= 1;
        const CarrierReading reading(carrier.data(), Size(carrier));
        if (reading.GetKind() == CarrierReading::Kind::kSealed) {
            EXPECT_EQ(reading.OpenSealed("whole password"), std::nullopt) << position;
        } else {
            broken += reading.GetKind() == CarrierReading::Kind::kNoRecords ? 1 : 0;
            // Taken for unsealed, its password record still opens for no entry.
            EXPECT_FALSE(MatchesStored(std::string(kSealSentinel),
                                       ReadRecord(carrier, kPasswordRecordStart)));
        }
    }
    EXPECT_GT(broken, 0);
}

TEST(SealedCarrier, OnlyTheSentinelAndTheMarkerTogetherMakeASealedCarrier) {
    // A plain Hide of a message that is itself a sealed text stays plain.
    const std::string lookalike = SealMessage("inner words", "12345678", LeastSealLimits());
    Bytes carrier = RandomCarrier(1000 + 8 * 200, 3);
    RecordingReporter reporter;
    ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), kPasswordRecordStart,
                            StoredForm("12345678"), reporter),
              1);
    ASSERT_EQ(
        CurtainString(carrier.data(), Size(carrier), kMessageRecordStart, lookalike, reporter), 1);
    EXPECT_EQ(CarrierReading(carrier.data(), Size(carrier)).GetKind(),
              CarrierReading::Kind::kPlain);
    EXPECT_EQ(ReadRecord(carrier, kMessageRecordStart), lookalike);

    // No chosen password can give the sentinel's stored form, and that form
    // opens for no entry.
    const std::string sentinel(kSealSentinel);
    EXPECT_EQ(CheckChosenPassword(sentinel, sentinel), kPasswordReservedByte);
    EXPECT_EQ(CheckChosenPassword("abc\x01"
                                  "defgh",
                                  "abc\x01"
                                  "defgh"),
              kPasswordReservedByte);
    EXPECT_FALSE(MatchesStored(sentinel, SealedStoredForm()));

    // The sentinel without a well-formed box holds nothing to reveal, and is
    // not taken for plain: no entry could ever match it.
    ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), kPasswordRecordStart, SealedStoredForm(),
                            reporter),
              1);
    EXPECT_EQ(CarrierReading(carrier.data(), Size(carrier)).GetKind(),
              CarrierReading::Kind::kSealed);
    // Box bytes 0-2 are the version and the low byte of the passes: "AQEA"
    // is version 1, 1 pass; "AgEA" version 2; "AQUA" 5 passes, above the cap.
    const std::string body = lookalike.substr(kSealMarker.size());
    ASSERT_TRUE(body.starts_with("AQEA"));
    const std::string marker(kSealMarker);
    for (const std::string& text :
         {std::string("inner words"), marker + "not base64!", marker + "QUJD",
          marker + "AgEA" + body.substr(4), marker + "AQUA" + body.substr(4),
          lookalike.substr(0, lookalike.size() - 1), lookalike + "=", marker + "!" + body.substr(1),
          marker + " " + body}) {
        ASSERT_EQ(CurtainString(carrier.data(), Size(carrier), kMessageRecordStart, text, reporter),
                  1);
        EXPECT_EQ(CarrierReading(carrier.data(), Size(carrier)).GetKind(),
                  CarrierReading::Kind::kNoRecords)
            << text;
    }
    EXPECT_TRUE(reporter.messages.empty());
}

// The sealed text `text` with its limits replaced; the box's tag then no
// longer holds, but only its shape is read here.
std::string WithLimits(const std::string& text, SealLimits limits) {
    std::string box(text.size(), '\0');
    std::size_t length = 0;
    const std::string body = text.substr(kSealMarker.size());
    EXPECT_EQ(
        sodium_base642bin(reinterpret_cast<unsigned char*>(box.data()), box.size(), body.data(),
                          body.size(), nullptr, &length, nullptr, sodium_base64_VARIANT_ORIGINAL),
        0);
    box.resize(length);
    for (std::size_t k = 0; k < 8; ++k) {
        box[1 + k] = static_cast<char>((limits.ops >> (8 * k)) & 0xFFu);
        box[9 + k] = static_cast<char>((limits.memory >> (8 * k)) & 0xFFu);
    }
    std::string encoded(sodium_base64_ENCODED_LEN(box.size(), sodium_base64_VARIANT_ORIGINAL),
                        '\0');
    sodium_bin2base64(encoded.data(), encoded.size(),
                      reinterpret_cast<const unsigned char*>(box.data()), box.size(),
                      sodium_base64_VARIANT_ORIGINAL);
    return std::string(kSealMarker) + encoded.c_str();
}

TEST(SealedLimits, NewBoxesAreWrittenAtTheModerateLimits) {
    ASSERT_GE(sodium_init(), 0);
    const std::string message = "words worth a quarter of a gigabyte";
    const std::string text = SealMessage(message, "a long passphrase of many words");
    const std::optional<SealedBox> box = ParseSealedText(text);
    ASSERT_TRUE(box);
    EXPECT_EQ(DescribeSealLimits(box->Limits()), "moderate");
    EXPECT_EQ(OpenIndependently(text, "a long passphrase of many words",
                                crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE),
              message);
}

// The fields of the box in sealed-boxes.txt, from its `Name = value` lines.
std::map<std::string, std::string> EarlierBox() {
    std::ifstream file(std::string(VEILNOTE_VECTORS_DIR) + "/sealed-boxes.txt");
    std::map<std::string, std::string> fields;
    for (std::string line; std::getline(file, line);) {
        if (const auto equals = line.find(" = ");
            !line.starts_with('#') && equals != std::string::npos) {
            fields[line.substr(0, equals)] = line.substr(equals + 3);
        }
    }
    return fields;
}

TEST(SealedLimits, ABoxWrittenAtTheInteractiveLimitsStillOpens) {
    std::map<std::string, std::string> earlier = EarlierBox();
    ASSERT_EQ(earlier.size(), 4u);
    const std::optional<SealedBox> box = ParseSealedText(std::string(kSealMarker) + earlier["Box"]);
    ASSERT_TRUE(box);
    EXPECT_EQ(DescribeSealLimits(box->Limits()), earlier["Limits"]);
    const std::optional<SecretText> opened = OpenSealedBox(*box, earlier["Password"]);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->View(), earlier["Message"]);
    EXPECT_EQ(OpenSealedBox(*box, earlier["Password"].substr(0, 8)), std::nullopt);
}

TEST(SealedLimits, ReadersTakeEveryLimitUpToModerateAndNoneAbove) {
    const std::string text = SealMessage("shape only", "12345678", LeastSealLimits());
    const SealLimits moderate = ModerateSealLimits();
    const SealLimits interactive = InteractiveSealLimits();
    struct Case {
        SealLimits limits;
        const char* name;  // as info shows it; null when refused
    };
    const std::vector<Case> cases = {
        {LeastSealLimits(), "1 pass, 8 KiB"},
        {interactive, "interactive"},
        {moderate, "moderate"},
        {{moderate.ops, interactive.memory}, "3 passes, 64 MiB"},
        {{moderate.ops + 1, moderate.memory}, nullptr},
        {{moderate.ops, moderate.memory + 1024}, nullptr},
        {{0, moderate.memory}, nullptr},
        {{1, 1024}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(DescribeSealLimits(c.limits));
        const std::optional<SealedBox> box = ParseSealedText(WithLimits(text, c.limits));
        EXPECT_EQ(box.has_value(), c.name != nullptr);
        if (c.name && box) {
            EXPECT_EQ(DescribeSealLimits(box->Limits()), c.name);
        } else {
            // Nor does any writer make a box no reader takes.
            EXPECT_THROW(SealMessage("x", "12345678", c.limits), std::invalid_argument);
        }
    }
}

}  // namespace
