#include "SealedCarrier.h"

#include <string>
#include <utility>

#include "CarrierRecords.h"

SealReading ReadSealing(const std::string& stored, const std::string& messageText) {
    if (!IsSealed(stored, messageText)) {
        return {};
    }
    std::optional<SealedBox> box = ParseSealedText(messageText);
    if (!box) {
        return {SealReading::Kind::kBroken, std::nullopt};
    }
    return {SealReading::Kind::kSealed, std::move(box)};
}

SealReading ReadSealing(const std::uint8_t* carrier, std::int32_t carrierLength) {
    SilentReporter silent;
    const std::string stored =
        ReadCurtainedString(carrier, carrierLength, kPasswordRecordStart, silent);
    if (stored != SealedStoredForm()) {
        return {};
    }
    return ReadSealing(stored,
                       ReadCurtainedString(carrier, carrierLength, kMessageRecordStart, silent));
}
