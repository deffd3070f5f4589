#include "CarrierToBe.h"

#include <sys/mman.h>

#include <cstring>
#include <memory>

#include "CarrierBitmap.h"

namespace {

// The facts of the carrier itself: its headers, then pixels not known
// without decoding, here pages of zeros the kernel maps lazily and that are
// never written. Neither the safe capacity of an uncompressed carrier nor
// its size depends on what its pixels are.
std::optional<CarrierFacts> FactsOfCarrierToBe(std::int64_t width, std::int64_t height, int bits) {
    const auto length = static_cast<std::size_t>(CarrierBitmapLength(width, height, bits));
    void* const mapped = mmap(nullptr, length, PROT_READ | PROT_WRITE,
                              MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapped == MAP_FAILED) {
        return std::nullopt;
    }
    const auto unmap = [length](std::uint8_t* bytes) { munmap(bytes, length); };
    const std::unique_ptr<std::uint8_t, decltype(unmap)> bytes(static_cast<std::uint8_t*>(mapped),
                                                               unmap);
    std::size_t filled = 0;
    CarrierBitmapWriter headers(width, height, bits, [&](std::span<const std::uint8_t> piece) {
        std::memcpy(bytes.get() + filled, piece.data(), piece.size());
        filled += piece.size();
        return true;
    });
    headers.Headers();
    headers.Finish();
    return ReadCarrierFacts({bytes.get(), length});
}

}  // namespace

std::optional<CarrierFacts> ReadPictureFacts(std::span<const std::uint8_t> file, std::int64_t width,
                                             std::int64_t height) {
    const std::optional<CarrierFacts> toBe = FactsOfCarrierToBe(width, height, kPictureFactsBits);
    if (!toBe) {
        return std::nullopt;
    }
    CarrierFacts facts = ReadCarrierFacts(file);
    facts.size = toBe->size;
    facts.capacity = toBe->capacity;
    facts.picture = toBe->picture;
    facts.safeCapacity = toBe->safeCapacity;
    facts.sealedCapacity = toBe->sealedCapacity;
    facts.sealedSafeCapacity = toBe->sealedSafeCapacity;
    return facts;
}
