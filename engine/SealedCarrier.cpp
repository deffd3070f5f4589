#include "SealedCarrier.h"

#include <string>
#include <utility>

#include "CarrierRecords.h"

namespace {

class QuietReporter : public Reporter {
public:
    void Report(const std::string&) override {}
};

}  // namespace

SealReading ReadSealing(const std::uint8_t* carrier, std::int32_t carrierLength) {
    QuietReporter quiet;
    const std::string stored =
        ReadCurtainedString(carrier, carrierLength, kPasswordRecordStart, quiet);
    if (stored != SealedStoredForm()) {
        return {};
    }
    const std::string text =
        ReadCurtainedString(carrier, carrierLength, kMessageRecordStart, quiet);
    if (!IsSealed(stored, text)) {
        return {};
    }
    std::optional<SealedBox> box = ParseSealedText(text);
    if (!box) {
        return {SealReading::Kind::kBroken, std::nullopt};
    }
    return {SealReading::Kind::kSealed, std::move(box)};
}
