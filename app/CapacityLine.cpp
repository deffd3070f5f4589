#include "CapacityLine.h"

#include "Thousands.h"

namespace {
constexpr const char* kNoPicture = "No picture open";

std::string Bytes(std::int64_t count) {
    return WithThousands(count) + (count == 1 ? " byte" : " bytes");
}

CapacityLine DescribeFigures(const CarrierFacts& facts, std::int64_t messageLength) {
    CapacityLine line;
    line.room = messageLength > facts.capacity       ? MessageRoom::kTooLong
                : messageLength > facts.safeCapacity ? MessageRoom::kVisibleChange
                                                     : MessageRoom::kSafe;
    if (facts.capacity == 0) {
        line.text = Bytes(messageLength) + "; this picture is too small to take a message";
        return line;
    }
    const std::string visibly = "up to " + WithThousands(facts.capacity) + " with visible changes";
    if (facts.safeCapacity == 0) {
        line.text = Bytes(messageLength) + ", none safely; " + visibly +
                    " (sealed: " + WithThousands(facts.sealedCapacity) + ")";
        return line;
    }
    line.text = WithThousands(messageLength) + " of " + Bytes(facts.safeCapacity) +
                " safely (sealed: " + WithThousands(facts.sealedSafeCapacity) + ")";
    if (facts.capacity > facts.safeCapacity) {
        line.text += "; " + visibly;
    }
    return line;
}
}  // namespace

CapacityLine DescribeCapacity(const CarrierFacts* facts, std::int64_t messageLength,
                              CapacityOf capacityOf) {
    if (!facts) {
        return {kNoPicture, MessageRoom::kNoPicture};
    }
    CapacityLine line = DescribeFigures(*facts, messageLength);
    if (capacityOf == CapacityOf::kConvertedCopy) {
        line.text = "Copy: " + line.text;
    }
    return line;
}
