#include "CarrierRecords.h"

#include <algorithm>
#include <string_view>
#include <utility>
#include <vector>

#include "BlowfishCipher.h"

namespace {

// Both records are enciphered under this one key; the password only guards
// the user interface, so it takes no part here.
constexpr std::string_view kRecordKey = "copper7311window";

constexpr const char* kTrailingSpace = " \t\n\v\f\r";

CBlowfishCipher RecordCipher() {
    return CBlowfishCipher(reinterpret_cast<const std::uint8_t*>(kRecordKey.data()),
                           kRecordKey.size(), BlowfishBlock{});
}

std::int64_t BitPosition(std::int32_t start, std::size_t k, unsigned j) {
    return CipherBitPosition(start, static_cast<std::int64_t>(k), j);
}

// Whether a record whose length word reads `length` (or -1) is deciphered:
// it must end inside the carrier and be whole cipher blocks.
bool RecordIsDeciphered(std::int32_t carrierLength, std::int32_t start, std::int32_t length) {
    return length >= 0 && RecordEnd(start, length) <= std::int64_t{carrierLength} &&
           length % kCipherBlockBytes == 0;
}

}  // namespace

int CurtainLength(std::uint8_t* carrier, std::int32_t carrierLength, std::int32_t position,
                  std::uint32_t value, Reporter& reporter) {
    return CurtainLength(WholeCarrier(carrier, carrierLength), position, value, reporter);
}

int CurtainLength(const CarrierWindow& carrier, std::int32_t position, std::uint32_t value,
                  Reporter& reporter) {
    if (position < 0) {
        return -1;
    }
    if (carrier.carrierLength < std::int64_t{position} + kLengthWordBits) {
        reporter.Report(kImageVerySmall);
        return -1;
    }
    if (!carrier.Holds(position, std::int64_t{position} + kLengthWordBits)) {
        return -1;
    }
    for (std::int32_t k = 0; k < kLengthWordBits; ++k) {
        std::uint8_t& byte = carrier.At(std::int64_t{position} + k);
        byte = static_cast<std::uint8_t>((byte & 0xFEu) | ((value >> k) & 1u));
    }
    return 1;
}

int CanCurtainString(std::int32_t carrierLength, std::int32_t start, const std::string& text,
                     Reporter& reporter) {
    if (text.empty()) {
        reporter.Report(kRecordWriterNoText);
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
        oversized ? kMaxCarrierLength : PaddedLength(static_cast<std::int64_t>(text.size()));
    if (length < start || oversized || !RecordFits(length, start, padded)) {
        reporter.Report(kImageVerySmall);
        return -1;
    }
    return 1;
}

std::vector<std::uint8_t> EncipherRecordText(std::string text) {
    const auto padded = static_cast<std::size_t>(PaddedLength(std::ssize(text)));
    text.resize(padded, '\0');
    std::vector<std::uint8_t> cipher(padded);
    RecordCipher().Encrypt(reinterpret_cast<const std::uint8_t*>(text.data()), cipher.data(),
                           padded, CBlowfishCipher::ECB);
    return cipher;
}

int CurtainString(std::uint8_t* carrier, std::int32_t carrierLength, std::int32_t start,
                  std::string text, Reporter& reporter) {
    return CurtainString(WholeCarrier(carrier, carrierLength), start, std::move(text), reporter);
}

int CurtainString(const CarrierWindow& carrier, std::int32_t start, std::string text,
                  Reporter& reporter) {
    // Everything is checked before the first byte is written, so a failed
    // write never leaves a length word without its record.
    if (CanCurtainString(carrier.carrierLength, start, text, reporter) != 1) {
        return -1;
    }
    const std::int64_t padded = PaddedLength(std::ssize(text));
    if (!carrier.Holds(start - kLengthWordBits, RecordEnd(start, padded))) {
        return -1;
    }
    const std::vector<std::uint8_t> cipher = EncipherRecordText(std::move(text));

    CurtainLength(carrier, start - kLengthWordBits, static_cast<std::uint32_t>(padded), reporter);
    for (std::size_t k = 0; k < cipher.size(); ++k) {
        for (unsigned j = 0; j < 8; ++j) {
            std::uint8_t& byte = carrier.At(BitPosition(start, k, j));
            byte = static_cast<std::uint8_t>((byte & 0xFEu) | ((unsigned{cipher[k]} >> j) & 1u));
        }
    }
    return 1;
}

std::int32_t ReadCurtainLength(const std::uint8_t* carrier, std::int32_t carrierLength,
                               std::int32_t position, Reporter& reporter) {
    return ReadCurtainLength(WholeCarrier(carrier, carrierLength), position, reporter);
}

std::int32_t ReadCurtainLength(const CarrierView& carrier, std::int32_t position,
                               Reporter& reporter) {
    const std::int32_t carrierLength = carrier.carrierLength;
    if (position < 0 || std::int64_t{position} + kLengthWordBits >= carrierLength ||
        !carrier.Holds(position, std::int64_t{position} + kLengthWordBits)) {
        return -1;
    }
    std::uint32_t bits = 0;
    for (std::int32_t k = 0; k < kLengthWordBits; ++k) {
        bits |= (carrier.At(std::int64_t{position} + k) & 1u) << k;
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
    return ReadCurtainedRecord(WholeCarrier(carrier, carrierLength), start, reporter);
}

CurtainedRecord ReadCurtainedRecord(const CarrierView& carrier, std::int32_t start,
                                    Reporter& reporter) {
    const auto fetch = [&carrier](std::int64_t first, std::int64_t end) {
        if (!carrier.Holds(first, end)) {
            return std::vector<std::uint8_t>{};
        }
        const auto* const begin = &carrier.At(first);
        return std::vector<std::uint8_t>(begin, begin + (end - first));
    };
    return FetchCurtainedRecord(carrier.carrierLength, start, fetch, reporter);
}

std::string ReadCurtainedString(const std::uint8_t* carrier, std::int32_t carrierLength,
                                std::int32_t start, Reporter& reporter) {
    return ReadCurtainedRecord(carrier, carrierLength, start, reporter).text;
}

CurtainedRecord FetchCurtainedRecord(std::int32_t carrierLength, std::int32_t start,
                                     const CarrierFetch& fetch, Reporter& reporter,
                                     std::optional<std::int32_t> requiredLength) {
    if (start < kLengthWordBits) {
        return {};
    }
    // The length word, as far as the carrier has it; too short a carrier ends
    // the read on the length word alone.
    const std::int64_t wordFirst = start - kLengthWordBits;
    const std::int64_t wordEnd = std::min<std::int64_t>(start, carrierLength);
    const std::vector<std::uint8_t> word =
        wordFirst < wordEnd ? fetch(wordFirst, wordEnd) : std::vector<std::uint8_t>{};
    const std::int32_t length = ReadCurtainLength(CarrierView{word, wordFirst, carrierLength},
                                                  start - kLengthWordBits, reporter);
    if (length < 0 || RecordEnd(start, length) > std::int64_t{carrierLength}) {
        return {};
    }
    // Never written by this program: the cipher would refuse it, so the read
    // ends here as a carrier without data.
    if (!RecordIsDeciphered(carrierLength, start, length)) {
        reporter.Report(kNoCurtainedData);
        return {"", true};
    }
    // A length word the record could not have is no record; nothing of what
    // it claims is read.
    if (requiredLength && length != *requiredLength) {
        return {};
    }

    // The ciphertext is gathered piece by piece, so that no more than one
    // piece of the carrier is held beside it, however long the record.
    constexpr std::size_t kCipherBytesPerFetch = 8 * 1024;
    const auto count = static_cast<std::size_t>(length);
    std::vector<std::uint8_t> cipher(count, 0);
    for (std::size_t first = 0; first < count; first += kCipherBytesPerFetch) {
        const std::size_t end = std::min(count, first + kCipherBytesPerFetch);
        const std::int64_t from = BitPosition(start, first, 0);
        const std::int64_t to = BitPosition(start, end - 1, 7) + 1;
        const std::vector<std::uint8_t> piece = fetch(from, to);
        const CarrierView view{piece, from, carrierLength};
        if (!view.Holds(from, to)) {
            return {};  // the file shrank under us, or a window that lacks the record
        }
        for (std::size_t k = first; k < end; ++k) {
            for (unsigned j = 0; j < 8; ++j) {
                const unsigned bit = view.At(BitPosition(start, k, j)) & 1u;
                cipher[k] = static_cast<std::uint8_t>(cipher[k] | (bit << j));
            }
        }
    }
    // One spare zero byte ends the text even when no padding did.
    std::vector<std::uint8_t> plain(count + 1, 0);
    RecordCipher().Decrypt(cipher.data(), plain.data(), count, CBlowfishCipher::ECB);

    std::string text(reinterpret_cast<const char*>(plain.data()));
    text.erase(text.find_last_not_of(kTrailingSpace) + 1);
    return {std::move(text), false, true};
}
