#include <algorithm>
#include <array>

#include "CarrierFile.h"
#include "CommandSupport.h"
#include "DamageGuard.h"
#include "Errors.h"
#include "PasswordRules.h"
#include "SealedCarrier.h"
#include "StreamReporter.h"

namespace {

// Whether the carrier holds a password record as hiding writes one: a stored
// form of 16 bytes that ends in the fixed suffix.
bool HoldsPasswordRecord(const CarrierFile& carrier) {
    SilentReporter silent;
    const std::string stored =
        FetchCurtainedRecord(carrier.Length(), kPasswordRecordStart, carrier.Fetch(), silent).text;
    return stored.size() == kMaxPasswordLength && stored.ends_with(kStoredSuffix);
}

// Whether the carrier is sealed. The message record is read only when the
// password record says it may be, so a plain carrier costs no more.
bool IsSealedCarrier(const CarrierFile& carrier) {
    SilentReporter silent;
    const std::string stored =
        FetchCurtainedRecord(carrier.Length(), kPasswordRecordStart, carrier.Fetch(), silent).text;
    if (stored != SealedStoredForm()) {
        return false;
    }
    const std::string text =
        FetchCurtainedRecord(carrier.Length(), kMessageRecordStart, carrier.Fetch(), silent).text;
    return ReadSealing(stored, text).kind == SealReading::Kind::kSealed;
}

// The longest message that, sealed, fits a record of `recordCapacity` bytes.
std::int64_t LongestSealed(std::int64_t recordCapacity) {
    return static_cast<std::int64_t>(
        LongestSealedMessage(static_cast<std::size_t>(std::max<std::int64_t>(recordCapacity, 0))));
}

}  // namespace

int RunInfo(const ParsedArguments& parsed, Console& console) {
    const CarrierFile carrier(parsed.operands[0], kCarrierLimit);
    const std::int64_t size = carrier.Length();
    // Reads headers and palette, and only the pixels the safe capacity needs.
    const CDamageGuard guard(carrier.Bytes());

    console.out << "size: " << size << " bytes\n"
                << "capacity: " << MessageCapacity(size) << " message bytes"
                << " (the password record needs a file of at least " << kPasswordRecordNeeds
                << " bytes"
                << (size < kPasswordRecordNeeds ? ", so nothing can be hidden here)\n" : ")\n")
                << "picture: " << DescribePicture(guard.Picture()) << '\n'
                << "safe capacity: " << guard.SafeCapacity() << " message bytes\n"
                << "sealed capacity: " << LongestSealed(MessageCapacity(size)) << " message bytes ("
                << LongestSealed(guard.SafeCapacity()) << " safely)\n"
                << "password record: " << (HoldsPasswordRecord(carrier) ? "present" : "none")
                << '\n'
                << "message: " << (IsSealedCarrier(carrier) ? "sealed" : "plain") << '\n';
    return static_cast<int>(ExitCode::kSuccess);
}
