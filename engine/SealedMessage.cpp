#include "SealedMessage.h"

#include <sodium.h>

#include <array>
#include <new>
#include <stdexcept>

#include "PasswordRules.h"

namespace {

constexpr std::uint8_t kBoxVersion1 = 1;
constexpr std::size_t kLimitBytes = 8;
constexpr std::size_t kSaltBytes = crypto_pwhash_SALTBYTES;
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kKeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr std::size_t kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
// Version, two limits, salt and nonce.
constexpr std::size_t kHeaderBytes = 1 + 2 * kLimitBytes + kSaltBytes + kNonceBytes;
constexpr int kBase64Variant = sodium_base64_VARIANT_ORIGINAL;

// A reader takes anything from libsodium's least up to its moderate limits,
// and Hide writes the moderate ones, so the cap keeps a forged box from asking
// for more time and memory than a box of ours. The limits are authenticated:
// weaker ones only weaken a box its own writer chose to weaken. Boxes written
// at the interactive limits, as they all were at first, fall inside the range.
constexpr std::uint64_t kLeastOpsLimit = crypto_pwhash_OPSLIMIT_MIN;
constexpr std::uint64_t kMostOpsLimit = crypto_pwhash_OPSLIMIT_MODERATE;
constexpr std::uint64_t kLeastMemLimit = crypto_pwhash_MEMLIMIT_MIN;
constexpr std::uint64_t kMostMemLimit = crypto_pwhash_MEMLIMIT_MODERATE;

bool ReaderAccepts(SealLimits limits) {
    return limits.ops >= kLeastOpsLimit && limits.ops <= kMostOpsLimit &&
           limits.memory >= kLeastMemLimit && limits.memory <= kMostMemLimit;
}

void StartSodium() {
    if (sodium_init() < 0) {
        throw std::runtime_error("the cryptography library cannot start");
    }
}

void AppendLittleEndian(std::string& out, std::uint64_t value) {
    for (std::size_t k = 0; k < kLimitBytes; ++k) {
        out += static_cast<char>((value >> (8 * k)) & 0xFFu);
    }
}

std::uint64_t ReadLittleEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < kLimitBytes; ++k) {
        value |= std::uint64_t{static_cast<unsigned char>(bytes[k])} << (8 * k);
    }
    return value;
}

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

std::string RandomBytes(std::size_t count) {
    std::string bytes(count, '\0');
    randombytes_buf(bytes.data(), count);
    return bytes;
}

// Argon2id over the whole password.
SecretText DeriveKey(std::string_view password, std::string_view salt, std::uint64_t opsLimit,
                     std::uint64_t memLimit) {
    SecretText key(kKeyBytes);
    if (crypto_pwhash(key.Data(), key.Size(), password.data(), password.size(), Bytes(salt),
                      opsLimit, static_cast<std::size_t>(memLimit),
                      crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw std::bad_alloc();
    }
    return key;
}

std::size_t Base64Length(std::size_t binaryLength) {
    return (binaryLength + 2) / 3 * 4;
}

std::string ToBase64(std::string_view binary) {
    std::string text(sodium_base64_ENCODED_LEN(binary.size(), kBase64Variant), '\0');
    sodium_bin2base64(text.data(), text.size(), Bytes(binary), binary.size(), kBase64Variant);
    text.resize(Base64Length(binary.size()));
    return text;
}

std::optional<std::string> FromBase64(std::string_view text) {
    std::string binary(text.size() / 4 * 3, '\0');
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(binary.data()), binary.size(),
                          text.data(), text.size(), nullptr, &length, &end, kBase64Variant) != 0 ||
        end != text.data() + text.size()) {
        return std::nullopt;
    }
    binary.resize(length);
    // One text per box: anything that encodes differently is not ours.
    if (ToBase64(binary) != text) {
        return std::nullopt;
    }
    return binary;
}

}  // namespace

std::string SealedStoredForm() {
    return StoredForm(std::string(kSealSentinel));
}

bool IsSealed(const std::string& stored, std::string_view messageText) {
    return stored == SealedStoredForm() && messageText.starts_with(kSealMarker);
}

SealLimits ModerateSealLimits() {
    return {crypto_pwhash_OPSLIMIT_MODERATE, crypto_pwhash_MEMLIMIT_MODERATE};
}

SealLimits InteractiveSealLimits() {
    return {crypto_pwhash_OPSLIMIT_INTERACTIVE, crypto_pwhash_MEMLIMIT_INTERACTIVE};
}

SealLimits LeastSealLimits() {
    return {kLeastOpsLimit, kLeastMemLimit};
}

std::string DescribeSealLimits(SealLimits limits) {
    if (limits == ModerateSealLimits()) {
        return "moderate";
    }
    if (limits == InteractiveSealLimits()) {
        return "interactive";
    }
    constexpr std::uint64_t kKiB = 1024;
    constexpr std::uint64_t kMiB = 1024 * kKiB;
    const std::string passes =
        std::to_string(limits.ops) + (limits.ops == 1 ? " pass, " : " passes, ");
    if (limits.memory % kMiB == 0) {
        return passes + std::to_string(limits.memory / kMiB) + " MiB";
    }
    return passes + std::to_string(limits.memory / kKiB) + " KiB";
}

std::string SealMessage(std::string_view message, std::string_view password, SealLimits limits) {
    if (!ReaderAccepts(limits)) {
        throw std::invalid_argument("no reader opens a box sealed at these limits");
    }
    StartSodium();
    std::string header;
    header += static_cast<char>(kBoxVersion1);
    AppendLittleEndian(header, limits.ops);
    AppendLittleEndian(header, limits.memory);
    const std::string salt = RandomBytes(kSaltBytes);
    header += salt;
    header += RandomBytes(kNonceBytes);

    SecretText key = DeriveKey(password, salt, limits.ops, limits.memory);
    std::string box = header;
    box.resize(kHeaderBytes + message.size() + kTagBytes);
    unsigned long long sealedLength = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(
        reinterpret_cast<unsigned char*>(box.data() + kHeaderBytes), &sealedLength, Bytes(message),
        message.size(), Bytes(header), header.size(), nullptr,
        Bytes(header) + kHeaderBytes - kNonceBytes, key.Data());
    return std::string(kSealMarker) + ToBase64(box);
}

std::size_t SealedTextLength(std::size_t messageLength) {
    return kSealMarker.size() + Base64Length(kHeaderBytes + messageLength + kTagBytes);
}

std::size_t SealedRecordLength(std::size_t messageLength) {
    return (SealedTextLength(messageLength) + 7) / 8 * 8;
}

std::size_t LongestSealedMessage(std::size_t recordCapacity) {
    const std::size_t empty = SealedTextLength(0);
    if (recordCapacity < empty) {
        return 0;
    }
    // Every 3 box bytes take 4 base64 characters; the base64 padding and the
    // record's make the closed form awkward, so step back from a bound.
    std::size_t length = (recordCapacity - kSealMarker.size()) / 4 * 3 - (kHeaderBytes + kTagBytes);
    while (length > 0 && SealedRecordLength(length) > recordCapacity) {
        --length;
    }
    return length;
}

std::optional<SealedBox> ParseSealedText(std::string_view messageText) {
    if (!messageText.starts_with(kSealMarker)) {
        return std::nullopt;
    }
    StartSodium();
    const std::optional<std::string> binary = FromBase64(messageText.substr(kSealMarker.size()));
    if (!binary || binary->size() < kHeaderBytes + kTagBytes ||
        static_cast<std::uint8_t>((*binary)[0]) != kBoxVersion1) {
        return std::nullopt;
    }
    const std::string_view bytes = *binary;
    SealedBox box;
    box.version = kBoxVersion1;
    box.opsLimit = ReadLittleEndian(bytes.substr(1));
    box.memLimit = ReadLittleEndian(bytes.substr(1 + kLimitBytes));
    if (!ReaderAccepts(box.Limits())) {
        return std::nullopt;
    }
    box.header = bytes.substr(0, kHeaderBytes);
    box.salt = bytes.substr(1 + 2 * kLimitBytes, kSaltBytes);
    box.nonce = bytes.substr(kHeaderBytes - kNonceBytes, kNonceBytes);
    box.ciphertext = bytes.substr(kHeaderBytes);
    return box;
}

std::optional<SecretText> OpenSealedBox(const SealedBox& box, std::string_view password) {
    StartSodium();
    SecretText key = DeriveKey(password, box.salt, box.opsLimit, box.memLimit);
    SecretText message(box.ciphertext.size() - kTagBytes);
    unsigned long long openedLength = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            message.Data(), &openedLength, nullptr, Bytes(box.ciphertext), box.ciphertext.size(),
            Bytes(box.header), box.header.size(), Bytes(box.nonce), key.Data()) != 0) {
        return std::nullopt;
    }
    return message;
}
