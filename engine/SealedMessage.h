#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "SecretText.h"

// Sealed messages. The records keep their layout and their fixed-key
// encipherment; only the texts placed in them differ:
// - the password record holds the stored form of a sentinel that no chosen
//   password can produce (it holds a byte the password rules refuse);
// - the message record holds a marker followed by base64 (original alphabet,
//   with padding) of a box: a version byte, the Argon2id limits (operations,
//   then memory in bytes, each 8 bytes little-endian), a random salt, a random
//   nonce, and the XChaCha20-Poly1305 ciphertext of the message with its tag.
//   The key comes from Argon2id over the whole password; the bytes before the
//   ciphertext are authenticated with it.
// A carrier is sealed only when both hold. This layout is permanent: readers
// keep accepting every version ever written.

// The 8 bytes whose stored form marks a sealed carrier's password record.
inline constexpr std::string_view kSealSentinel{"\x01sealed\x01", 8};
// The start of a sealed carrier's message text.
inline constexpr std::string_view kSealMarker{"\x01sealed:", 8};

// The password record a sealed Hide writes.
std::string SealedStoredForm();

// Whether a carrier whose records read `stored` and `messageText` is sealed.
bool IsSealed(const std::string& stored, std::string_view messageText);

// Argon2id limits: passes, and memory in bytes.
struct SealLimits {
    std::uint64_t ops = 0;
    std::uint64_t memory = 0;

    bool operator==(const SealLimits&) const = default;
};

// libsodium's moderate limits: what a sealed Hide writes, and the most a
// reader accepts, so that a forged box costs no more to try than one of ours.
SealLimits ModerateSealLimits();
// libsodium's interactive limits, which sealed Hides wrote before; readers
// keep opening them.
SealLimits InteractiveSealLimits();
// The cheapest limits a reader accepts; only worth using where many boxes are
// made and opened to check their shape.
SealLimits LeastSealLimits();

// The limits a sealed Hide writes: the moderate ones. Defined alone in its own
// file so that a test program can link a cheaper definition in its place
// (tests/support/CheapSealLimits.cpp); the shipped programs never do.
SealLimits WrittenSealLimits();

// How `info` names a box's limits: "moderate", "interactive", or the passes
// and memory, such as "1 pass, 8 KiB" or "3 passes, 128 MiB" (libsodium
// counts memory in whole KiB).
std::string DescribeSealLimits(SealLimits limits);

// The message record's text that seals `message` under the whole `password`.
// Throws std::bad_alloc when the key derivation cannot get its memory,
// std::invalid_argument for limits no reader accepts, std::runtime_error when
// libsodium cannot start. Nothing is returned in part. Wipes its copy of the
// key.
std::string SealMessage(std::string_view message, std::string_view password,
                        SealLimits limits = WrittenSealLimits());

// The length of SealMessage's result for a message of `messageLength` bytes.
std::size_t SealedTextLength(std::size_t messageLength);
// The length word of the message record that holds it: the enciphered bytes,
// SealedTextLength rounded up to a multiple of 8.
std::size_t SealedRecordLength(std::size_t messageLength);

// The longest message whose sealed text fits a record of `recordCapacity`
// bytes (a multiple of 8); 0 when none does.
std::size_t LongestSealedMessage(std::size_t recordCapacity);

// A sealed text taken apart, nothing checked but its shape.
struct SealedBox {
    std::uint8_t version = 0;
    std::uint64_t opsLimit = 0;
    std::uint64_t memLimit = 0;
    std::string header;  // every byte before the ciphertext, authenticated
    std::string salt;
    std::string nonce;
    std::string ciphertext;  // with its tag

    SealLimits Limits() const { return {opsLimit, memLimit}; }
};

// The box of a message text that starts with the marker; nothing when the
// rest is not a well-formed box of a known version with limits this reader
// accepts.
std::optional<SealedBox> ParseSealedText(std::string_view messageText);

// The message, or nothing when `password` is not the whole password the box
// was sealed with, or the box was altered. Throws like SealMessage.
std::optional<SecretText> OpenSealedBox(const SealedBox& box, std::string_view password);
