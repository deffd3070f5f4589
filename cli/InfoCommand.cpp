#include <array>

#include "CarrierFacts.h"
#include "CarrierFile.h"
#include "CommandSupport.h"
#include "Errors.h"

namespace {

const char* MessageWord(CarrierReading::Kind kind) {
    switch (kind) {
        case CarrierReading::Kind::kPlain:
            return "plain";
        case CarrierReading::Kind::kSealed:
            return "sealed";
        case CarrierReading::Kind::kNoRecords:
            break;
    }
    return "none";
}

}  // namespace

int RunInfo(const ParsedArguments& parsed, Console& console) {
    const CarrierFile carrier(parsed.operands[0], kCarrierLimit);
    // Reads headers and palette, only the pixels the safe capacity needs, and
    // the records.
    const CarrierFacts facts = ReadCarrierFacts(carrier.Bytes());

    console.out << "size: " << facts.size << " bytes\n"
                << "capacity: " << facts.capacity << " message bytes";
    if (facts.size < kPasswordRecordNeeds) {
        console.out << " (the password record needs a file of at least " << kPasswordRecordNeeds
                    << " bytes, so nothing can be hidden here)";
    }
    console.out << '\n'
                << "picture: " << facts.picture << '\n'
                << "safe capacity: " << facts.safeCapacity << " message bytes\n"
                << "sealed capacity: " << facts.sealedCapacity << " message bytes ("
                << facts.sealedSafeCapacity << " safely)\n"
                << "password record: " << (facts.passwordRecord ? "present" : "none") << '\n'
                << "message: " << MessageWord(facts.message) << '\n';
    if (facts.sealLimits) {
        console.out << "seal limits: " << *facts.sealLimits << '\n';
    }
    return static_cast<int>(ExitCode::kSuccess);
}
