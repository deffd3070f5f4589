#include "Revealing.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "PasswordRules.h"

namespace {

CurtainedRecord Fetch(std::int32_t carrierLength, std::int32_t start, const CarrierFetch& fetch,
                      std::optional<std::int32_t> requiredLength = std::nullopt) {
    // Whether the format itself reports a carrier without records depends
    // on its random low bits; the front ends say it once, themselves.
    SilentReporter silent;
    return FetchCurtainedRecord(carrierLength, start, fetch, silent, requiredLength);
}

}  // namespace

CarrierReading::CarrierReading(std::int32_t carrierLength, CarrierFetch fetch)
    : m_carrierLength(carrierLength), m_fetch(std::move(fetch)) {
    // Hide writes a password record of one length only, for every password
    // and for the sealed carriers' sentinel alike: a length word that says
    // otherwise is taken for no records before anything it claims is read.
    m_stored = Fetch(m_carrierLength, kPasswordRecordStart, m_fetch,
                     static_cast<std::int32_t>(kPasswordRecordLength))
                   .text;
    if (m_stored.empty()) {
        return;
    }
    if (m_stored != SealedStoredForm()) {
        m_kind = Kind::kPlain;
        return;
    }
    // The sealed carriers' password record is matched by no entry: only a
    // well-formed box makes such a carrier one that can be revealed.
    const std::string text = Fetch(m_carrierLength, kMessageRecordStart, m_fetch).text;
    if (IsSealed(m_stored, text)) {
        m_box = ParseSealedText(text);
    }
    m_kind = m_box ? Kind::kSealed : Kind::kNoRecords;
}

CarrierReading::CarrierReading(const std::uint8_t* carrier, std::int32_t carrierLength)
    : CarrierReading(carrierLength, [carrier](std::int64_t first, std::int64_t end) {
          return std::vector<std::uint8_t>(carrier + first, carrier + end);
      }) {}

bool CarrierReading::Matches(std::string_view entry) const {
    return m_kind == Kind::kPlain && MatchesStored(entry, m_stored);
}

std::optional<SecretText> CarrierReading::OpenSealed(std::string_view password) const {
    if (!m_box) {
        return std::nullopt;
    }
    return OpenSealedBox(*m_box, password);
}

std::optional<std::string> CarrierReading::ReadMessage() const {
    CurtainedRecord record = Fetch(m_carrierLength, kMessageRecordStart, m_fetch);
    if (!record.deciphered) {
        return std::nullopt;
    }
    return std::move(record.text);
}
