#include <sys/mman.h>

#include <array>
#include <cstring>
#include <memory>

#include "CarrierFacts.h"
#include "CarrierFile.h"
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

// The facts of the carrier hide --convert would make of a picture: its
// headers, then pixels not known without decoding, here pages of zeros the
// kernel maps lazily and that are never written, so that no decoding and
// no picture-sized memory is needed.
CarrierFacts FactsOfCarrierToBe(const PictureFacts& picture, int bits) {
    const std::int64_t length = CarrierBitmapLength(picture.width, picture.height, bits);
    void* const mapped = mmap(nullptr, static_cast<std::size_t>(length), PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) {
        throw Refusal("there is not enough memory to describe this picture's carrier");
    }
    const auto unmap = [length](std::uint8_t* bytes) {
        munmap(bytes, static_cast<std::size_t>(length));
    };
    const std::unique_ptr<std::uint8_t, decltype(unmap)> bytes(static_cast<std::uint8_t*>(mapped),
                                                               unmap);
    std::int64_t filled = 0;
    CarrierBitmapWriter headers(picture.width, picture.height, bits,
                                [&](std::span<const std::uint8_t> piece) {
                                    std::memcpy(bytes.get() + filled, piece.data(), piece.size());
                                    filled += static_cast<std::int64_t>(piece.size());
                                    return true;
                                });
    headers.Headers();
    headers.Finish();
    return ReadCarrierFacts({bytes.get(), static_cast<std::size_t>(length)});
}

}  // namespace

int RunInfo(const ParsedArguments& parsed, Console& console) {
    const CarrierFile carrier(parsed.operands[0], kCarrierLimit);
    // Reads headers and palette, only the pixels the safe capacity needs, and
    // the records.
    CarrierFacts facts = ReadCarrierFacts(carrier.Bytes());
    // A picture that is not a bitmap holds no records of its own making; its
    // capacities are those of the carrier it would become. Only its headers
    // are read. The records are still read from the file's own bytes: older
    // forced hides wrote them into such files.
    const char* pictureLabel = "picture: ";
    if (IsPictureFile(carrier.Bytes())) {
        if (const PictureFacts picture = ProbePictureFile(carrier.Bytes());
            picture.failure.empty()) {
            pictureLabel = "carrier picture: ";
            const int bits = picture.mayHaveAlpha ? 32 : 24;
            const CarrierFacts toBe = FactsOfCarrierToBe(picture, bits);
            console.out << "picture: " << picture.kind << ", " << picture.width << 'x'
                        << picture.height << '\n'
                        << "carrier: hide --convert makes a " << bits << "-bit bitmap of it"
                        << (bits == 32 ? " (24-bit when no pixel is transparent)" : "")
                        << "; size and capacities below are that carrier's\n";
            facts.size = toBe.size;
            facts.capacity = toBe.capacity;
            facts.picture = toBe.picture;
            facts.safeCapacity = toBe.safeCapacity;
            facts.sealedCapacity = toBe.sealedCapacity;
            facts.sealedSafeCapacity = toBe.sealedSafeCapacity;
        } else {
            console.out << "picture: " << picture.kind << " (" << picture.failure << ")\n";
        }
    }

    console.out << "size: " << facts.size << " bytes\n"
                << "capacity: " << facts.capacity << " message bytes";
    if (facts.size < kPasswordRecordNeeds) {
        console.out << " (the password record needs a file of at least " << kPasswordRecordNeeds
                    << " bytes, so nothing can be hidden here)";
    }
    console.out << '\n'
                << pictureLabel << facts.picture << '\n'
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
