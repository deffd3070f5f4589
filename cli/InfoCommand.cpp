#include <optional>

#include "CarrierFacts.h"
#include "CarrierFile.h"
#include "CarrierToBe.h"
#include "CommandSupport.h"
#include "Errors.h"
#include "PictureModule.h"

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
    std::optional<CarrierFacts> facts;
    const char* pictureLabel = "picture: ";
    if (IsPictureFile(carrier.Bytes())) {
        if (const PictureHeader picture = ProbePictureFile(carrier.Bytes());
            picture.failure.empty()) {
            pictureLabel = "carrier picture: ";
            facts = ReadPictureFacts(carrier.Bytes(), picture.width, picture.height);
            if (!facts) {
                throw Refusal("there is not enough memory to describe this picture's carrier");
            }
            console.out << "picture: " << picture.kind << ", " << picture.width << 'x'
                        << picture.height << '\n'
                        << "carrier: hide --convert makes a " << kPictureFactsBits
                        << "-bit bitmap of it"
                        << (picture.mayHaveAlpha
                                ? " (32-bit, which takes more, when a pixel is transparent)"
                                : "")
                        << "; size and capacities below are the " << kPictureFactsBits
                        << "-bit one's\n";
        } else {
            console.out << "picture: " << picture.kind << " (" << picture.failure << ")\n";
        }
    }
    // Reads headers and palette, only the pixels the safe capacity needs, and
    // the records.
    if (!facts) {
        facts = ReadCarrierFacts(carrier.Bytes());
    }

    console.out << "size: " << facts->size << " bytes\n"
                << "capacity: " << facts->capacity << " message bytes";
    if (facts->size < kPasswordRecordNeeds) {
        console.out << " (the password record needs a file of at least " << kPasswordRecordNeeds
                    << " bytes, so nothing can be hidden here)";
    }
    console.out << '\n'
                << pictureLabel << facts->picture << '\n'
                << "safe capacity: " << facts->safeCapacity << " message bytes\n"
                << "sealed capacity: " << facts->sealedCapacity << " message bytes ("
                << facts->sealedSafeCapacity << " safely)\n"
                << "password record: " << (facts->passwordRecord ? "present" : "none") << '\n'
                << "message: " << MessageWord(facts->message) << '\n';
    if (facts->sealLimits) {
        console.out << "seal limits: " << *facts->sealLimits << '\n';
    }
    return static_cast<int>(ExitCode::kSuccess);
}
