#include "OldMessageWipe.h"

#include <sodium.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "CarrierRecords.h"
#include "PasswordRules.h"
#include "SealedMessage.h"

namespace {

bool IsHidesPasswordRecord(const std::string& stored) {
    return IsStoredForm(stored) || stored == SealedStoredForm();
}

}  // namespace

OldMessageRecord FindOldMessageRecord(std::span<const std::uint8_t> carrier,
                                      const CDamageGuard& guard) {
    if (carrier.size() > static_cast<std::size_t>(kMaxCarrierLength)) {
        return {};
    }
    const auto carrierLength = static_cast<std::int32_t>(carrier.size());
    SilentReporter silent;
    const CarrierFetch fetch = [carrier](std::int64_t first, std::int64_t end) {
        const auto bytes =
            carrier.subspan(static_cast<std::size_t>(first), static_cast<std::size_t>(end - first));
        return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
    };
    const CurtainedRecord stored =
        FetchCurtainedRecord(carrierLength, kPasswordRecordStart, fetch, silent,
                             static_cast<std::int32_t>(kPasswordRecordLength));
    if (!IsHidesPasswordRecord(stored.text)) {
        return {};
    }
    const std::int64_t length = ReadCurtainLength(WholeCarrier(carrier.data(), carrierLength),
                                                  kMessageRecordStart - kLengthWordBits, silent);
    if (length <= 0 || length % kCipherBlockBytes != 0 ||
        !RecordFits(carrierLength, kMessageRecordStart, length)) {
        return {};
    }
    // The guard judges a Hide of the whole old length for every message of
    // it, so random bits anywhere in that record are covered; otherwise only
    // as far as any Hide is safe.
    const std::int64_t wipeEnd =
        guard.CouldVisiblyChange(length) ? std::min(length, guard.SafeCapacity()) : length;
    return {length, wipeEnd};
}

ByteSpan MessageBytesSpan(std::int64_t from, std::int64_t end) {
    if (from >= end) {
        return {0, 0};
    }
    return {CipherBitPosition(kMessageRecordStart, from, 0), RecordEnd(kMessageRecordStart, end)};
}

bool WipeMessageBytes(const CarrierWindow& carrier, std::int64_t from, std::int64_t end) {
    if (from >= end) {
        return true;
    }
    const ByteSpan span = MessageBytesSpan(from, end);
    if (from < 0 || span.end > carrier.carrierLength || !carrier.Holds(span.first, span.end)) {
        return false;
    }
    if (sodium_init() < 0) {
        throw std::runtime_error("the cryptography library cannot start");
    }
    std::vector<std::uint8_t> noise(static_cast<std::size_t>(end - from));
    randombytes_buf(noise.data(), noise.size());
    for (std::int64_t k = from; k < end; ++k) {
        const unsigned bits = noise[static_cast<std::size_t>(k - from)];
        for (std::int64_t j = 0; j < 8; ++j) {
            std::uint8_t& byte = carrier.At(CipherBitPosition(kMessageRecordStart, k, j));
            byte = static_cast<std::uint8_t>((byte & ~1u) | ((bits >> j) & 1u));
        }
    }
    return true;
}
