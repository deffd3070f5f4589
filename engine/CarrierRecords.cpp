#include "CarrierRecords.h"

#include <string_view>
#include <utility>
#include <vector>

#include "BlowfishCipher.h"

namespace {

// Both records are enciphered under this one key; the password only guards
// the user interface, so it takes no part here.
constexpr std::string_view kRecordKey = "copper7311window";

constexpr std::int32_t kLengthWordBits = 32;
constexpr std::size_t kCipherBlockBytes = 8;
// Ciphertext byte k, bit j sits in carrier byte start + 8k + 9j.
constexpr std::size_t kByteStride = 8;
constexpr std::size_t kBitStride = 9;
// The last bit of a record of L bytes lies at start + 8L + 55.
constexpr std::int64_t kRecordTail = 56;
// A carrier must exceed the ciphertext's spread by this much, whatever the start.
constexpr std::int64_t kSizeMargin = 1000;
constexpr const char* kTrailingSpace = " \t\n\v\f\r";

CBlowfishCipher RecordCipher() {
    return CBlowfishCipher(reinterpret_cast<const std::uint8_t*>(kRecordKey.data()),
                           kRecordKey.size(), BlowfishBlock{});
}

// Positions are worked out in 64 bits: with carriers of up to 2^31-1 bytes,
// 8L and start + 8L + 56 overflow 32 bits.
std::int64_t SpreadLength(std::int64_t recordLength) {
    return static_cast<std::int64_t>(kByteStride) * recordLength;
}

}  // namespace

int CurtainLength(std::uint8_t* carrier, std::int32_t carrierLength, std::int32_t position,
                  std::uint32_t value, Reporter& reporter) {
    if (position < 0) {
        return -1;
    }
    if (carrierLength < std::int64_t{position} + kLengthWordBits) {
        reporter.Report(kImageVerySmall);
        return -1;
    }
    std::uint8_t* word = carrier + position;
    for (std::int32_t k = 0; k < kLengthWordBits; ++k) {
        word[k] = static_cast<std::uint8_t>((word[k] & 0xFEu) | ((value >> k) & 1u));
    }
    return 1;
}

int CanCurtainString(std::int32_t carrierLength, std::int32_t start, const std::string& text,
                     Reporter& reporter) {
    if (text.empty()) {
        reporter.Report(kNoTextToCurtain);
        return -1;
    }
    if (start < kLengthWordBits) {
        return -1;
    }
    const std::int64_t length = carrierLength;
    // A text longer than any carrier fails the size rule below anyway; capping
    // it first keeps the padded length representable.
    const bool oversized = text.size() > static_cast<std::size_t>(kMaxCarrierLength);
    const std::int64_t padded =
        oversized ? kMaxCarrierLength : (static_cast<std::int64_t>(text.size()) + 7) / 8 * 8;
    // The last test only bites for starts beyond 944, which this program never
    // uses; it keeps such a record from running past the carrier's end.
    if (length < start || oversized || length < SpreadLength(padded) + kSizeMargin ||
        length < start + SpreadLength(padded) + kRecordTail) {
        reporter.Report(kImageVerySmall);
        return -1;
    }
    return 1;
}

int CurtainString(std::uint8_t* carrier, std::int32_t carrierLength, std::int32_t start,
                  std::string text, Reporter& reporter) {
    // Everything is checked before the first byte is written, so a failed
    // write never leaves a length word without its record.
    if (CanCurtainString(carrierLength, start, text, reporter) != 1) {
        return -1;
    }
    const std::size_t padded = (text.size() + 7) / 8 * 8;
    text.resize(padded, '\0');
    std::vector<std::uint8_t> cipher(padded);
    RecordCipher().Encrypt(reinterpret_cast<const std::uint8_t*>(text.data()), cipher.data(),
                           padded, CBlowfishCipher::ECB);

    CurtainLength(carrier, carrierLength, start - kLengthWordBits,
                  static_cast<std::uint32_t>(padded), reporter);
    std::uint8_t* record = carrier + start;
    for (std::size_t k = 0; k < padded; ++k) {
        for (std::size_t j = 0; j < 8; ++j) {
            std::uint8_t& byte = record[kByteStride * k + kBitStride * j];
            byte = static_cast<std::uint8_t>((byte & 0xFEu) | ((unsigned{cipher[k]} >> j) & 1u));
        }
    }
    return 1;
}

std::int32_t ReadCurtainLength(const std::uint8_t* carrier, std::int32_t carrierLength,
                               std::int32_t position, Reporter& reporter) {
    if (position < 0 || std::int64_t{position} + kLengthWordBits >= carrierLength) {
        return -1;
    }
    const std::uint8_t* word = carrier + position;
    std::uint32_t bits = 0;
    for (std::int32_t k = 0; k < kLengthWordBits; ++k) {
        bits |= (word[k] & 1u) << k;
    }
    const auto length = static_cast<std::int32_t>(bits);
    // A carrier whose length word is all ones (e.g. a white image) simply
    // holds nothing; it is not worth a message.
    if (length < 0) {
        return -1;
    }
    if (length == 0 || length > carrierLength) {
        reporter.Report(kNoCurtainedData);
        return -1;
    }
    return length;
}

CurtainedRecord ReadCurtainedRecord(const std::uint8_t* carrier, std::int32_t carrierLength,
                                    std::int32_t start, Reporter& reporter) {
    if (start < kLengthWordBits) {
        return {};
    }
    const std::int32_t length =
        ReadCurtainLength(carrier, carrierLength, start - kLengthWordBits, reporter);
    if (length < 0 ||
        std::int64_t{start} + SpreadLength(length) + kRecordTail > std::int64_t{carrierLength}) {
        return {};
    }
    const auto count = static_cast<std::size_t>(length);
    // Never written by this program: the cipher would refuse it, so the read
    // ends here as a carrier without data.
    if (count % kCipherBlockBytes != 0) {
        reporter.Report(kNoCurtainedData);
        return {"", true};
    }

    const std::uint8_t* record = carrier + start;
    std::vector<std::uint8_t> cipher(count, 0);
    for (std::size_t k = 0; k < count; ++k) {
        for (std::size_t j = 0; j < 8; ++j) {
            const unsigned bit = record[kByteStride * k + kBitStride * j] & 1u;
            cipher[k] = static_cast<std::uint8_t>(cipher[k] | (bit << j));
        }
    }
    // One spare zero byte ends the text even when no padding did.
    std::vector<std::uint8_t> plain(count + 1, 0);
    RecordCipher().Decrypt(cipher.data(), plain.data(), count, CBlowfishCipher::ECB);

    std::string text(reinterpret_cast<const char*>(plain.data()));
    text.erase(text.find_last_not_of(kTrailingSpace) + 1);
    return {std::move(text), false, true};
}

std::string ReadCurtainedString(const std::uint8_t* carrier, std::int32_t carrierLength,
                                std::int32_t start, Reporter& reporter) {
    return ReadCurtainedRecord(carrier, carrierLength, start, reporter).text;
}
