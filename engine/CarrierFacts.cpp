#include "CarrierFacts.h"

#include <algorithm>

#include "DamageGuard.h"
#include "PasswordRules.h"
#include "RecordGeometry.h"

namespace {

// The longest message that, sealed, fits a record of `recordCapacity` bytes.
std::int64_t LongestSealed(std::int64_t recordCapacity) {
    return static_cast<std::int64_t>(
        LongestSealedMessage(static_cast<std::size_t>(std::max<std::int64_t>(recordCapacity, 0))));
}

}  // namespace

CarrierFacts ReadCarrierFacts(std::span<const std::uint8_t> carrier) {
    const auto size = static_cast<std::int32_t>(carrier.size());
    const CDamageGuard guard(carrier);
    const CarrierReading reading(carrier.data(), size);

    CarrierFacts facts;
    facts.size = size;
    facts.capacity = MessageCapacity(size);
    facts.picture = DescribePicture(guard.Picture());
    facts.safeCapacity = guard.SafeCapacity();
    facts.sealedCapacity = LongestSealed(facts.capacity);
    facts.sealedSafeCapacity = LongestSealed(facts.safeCapacity);
    facts.passwordRecord = IsStoredForm(reading.Stored());
    facts.message = reading.GetKind();
    if (reading.Box()) {
        facts.sealLimits = DescribeSealLimits(reading.Box()->Limits());
    }
    return facts;
}

std::optional<PictureSize> BitmapSize(std::span<const std::uint8_t> carrier) {
    const BitmapPicture picture = InspectBitmap(carrier);
    if (!picture.isBitmap) {
        return std::nullopt;
    }
    return PictureSize{picture.width, picture.height};
}
