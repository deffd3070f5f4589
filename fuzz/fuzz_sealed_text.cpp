// Takes arbitrary bytes, behind the marker, as a sealed message record's text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "SealedMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text =
        std::string(kSealMarker) + std::string(reinterpret_cast<const char*>(data), size);
    const std::optional<SealedBox> box = ParseSealedText(text);
    if (box) {
        // A box is only ever taken whole, with fields of their fixed sizes.
        Require(box->version == 1);
        Require(box->header.size() + box->ciphertext.size() <= size);
        Require(box->ciphertext.size() >= 16);
        Require(box->salt.size() == 16 && box->nonce.size() == 24);
    }
    return 0;
}
