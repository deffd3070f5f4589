#include "CarrierFacts.h"

#include "DamageGuard.h"
#include "Hiding.h"
#include "PasswordRules.h"
#include "RecordGeometry.h"

CarrierFacts ReadCarrierFacts(std::span<const std::uint8_t> carrier) {
    const auto size = static_cast<std::int32_t>(carrier.size());
    const CDamageGuard guard(carrier);
    const CarrierReading reading(carrier.data(), size);

    CarrierFacts facts;
    facts.size = size;
    facts.capacity = MessageCapacity(size);
    facts.picture = DescribePicture(guard.Picture());
    facts.safeCapacity = guard.SafeCapacity();
    facts.sealedCapacity = LongestMessageInRecord(facts.capacity, Sealing::kSealed);
    facts.sealedSafeCapacity = LongestMessageInRecord(facts.safeCapacity, Sealing::kSealed);
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
