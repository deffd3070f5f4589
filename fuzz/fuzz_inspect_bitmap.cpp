// Inspects arbitrary bytes as a bitmap and asks the damage questions.
#include <cstddef>
#include <cstdint>
#include <span>

#include "BitmapConverter.h"
#include "DamageGuard.h"
#include "FuzzSupport.h"
#include "RecordGeometry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> file(data, size);
    const CDamageGuard guard(file);
    const BitmapPicture& picture = guard.Picture();
    Require(DescribePicture(picture) == DescribePicture(InspectBitmap(file)));
    if (picture.isBitmap) {
        Require(picture.pixelOffset >= 0 && picture.pixelBytes >= 0);
        Require(picture.pixelOffset + picture.pixelBytes <= static_cast<std::int64_t>(size));
    }
    const std::int64_t safe = guard.SafeCapacity();
    Require(safe % kCipherBlockBytes == 0);
    Require(safe <= MessageCapacity(static_cast<std::int64_t>(size)));
    Require(safe == 0 || picture.Judged());
    // Every length up to the safe capacity is safe; the next one is not,
    // unless the carrier cannot take it at all.
    if (safe > 0) {
        Require(!guard.CouldVisiblyChange(kCipherBlockBytes));
        Require(!guard.CouldVisiblyChange(safe / 2 / kCipherBlockBytes * kCipherBlockBytes +
                                          kCipherBlockBytes));
        Require(!guard.CouldVisiblyChange(safe));
    }
    const std::int64_t next = safe + kCipherBlockBytes;
    Require(next > MessageCapacity(static_cast<std::int64_t>(size)) ||
            guard.CouldVisiblyChange(next));
    Require(!guard.RiskReason(next).empty());

    // Small pictures are also converted: the copy is an ordinary 24-bit
    // bitmap (32-bit where it keeps alpha) of the same size, as long as
    // promised, that takes any message it has room for.
    if (picture.Vouched() && picture.width * picture.height <= (1 << 16)) {
        const CBitmapConversion conversion(file);
        const ConvertedBitmap copy = ConvertBitmap(file);
        Require(copy.file.empty() != copy.failure.empty());
        Require(static_cast<std::int64_t>(copy.file.size()) == conversion.OutputLength());
        if (!copy.file.empty()) {
            const CDamageGuard converted(copy.file);
            Require(converted.Picture().Vouched());
            Require(converted.Picture().bitsPerPixel == conversion.OutputBits());
            Require(converted.Picture().width == picture.width);
            Require(converted.SafeCapacity() ==
                    MessageCapacity(static_cast<std::int64_t>(copy.file.size())));
        }
    }
    return 0;
}
