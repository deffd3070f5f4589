#pragma once

#include <optional>
#include <string>
#include <string_view>

// Password rules shared by the window and the command-line tool. Passwords
// are byte strings in the locale's encoding; lengths and cuts count bytes.

inline constexpr const char* kStoredSuffix = "58203614";
// Only this many bytes of a plain carrier's password are kept, and so count.
inline constexpr std::size_t kCountedPasswordBytes = 8;
// Every password record Hide writes holds a stored form this long.
inline constexpr std::size_t kStoredFormBytes = 16;
inline constexpr std::size_t kMinPasswordLength = 8;
inline constexpr std::size_t kMaxPasswordLength = 16;
// A sealed carrier keeps no part of its password, so a passphrase may be
// long; the bound only keeps a pasted page from being taken for one.
inline constexpr std::size_t kMaxSealedPassphraseLength = 128;

inline constexpr const char* kPasswordTooShort = "password  must be at least 8 chars";
inline constexpr const char* kPasswordTooLong = "password is to long it must at most 16 chars";
inline constexpr const char* kSealedPassphraseTooLong =
    "a passphrase for a sealed message can have at most 128 bytes";
inline constexpr const char* kPasswordMismatch = "Password & Confirm Pw not match";
inline constexpr const char* kPasswordInvalid = "Invalid password try again";
inline constexpr const char* kPasswordReservedByte =
    "password contains a character that is not allowed";
// A zero byte ends the password record early, so that no entry could match it.
inline constexpr const char* kPasswordHasZeroByte =
    "a password cannot hold a zero byte: it could never be entered to reveal the message";

// What a password guards: a plain carrier keeps its stored form, a sealed one
// derives its key from the whole password, which may then be a passphrase.
enum class PasswordUse { kPlain, kSealed };

// The first 8 bytes of `password` followed by "58203614".
std::string StoredForm(std::string_view password);

// The length rule alone: the message when `password` is too short or too
// long for `use`, or nothing. A prompt checks it before asking to confirm.
std::optional<std::string> CheckPasswordLength(std::string_view password,
                                               PasswordUse use = PasswordUse::kPlain);

// Whether `stored` is a stored form as Hide writes one: 16 bytes ending in
// the fixed suffix.
bool IsStoredForm(std::string_view stored);

// Choosing a password: the message of the first rule broken (length, no
// zero byte, no byte reserved for sealed carriers, then confirmation), or
// nothing when the pair is accepted.
std::optional<std::string> CheckChosenPassword(std::string_view password,
                                               std::string_view confirmation,
                                               PasswordUse use = PasswordUse::kPlain);

// Verifying an entry against a stored password. The sealed carriers' stored
// form is matched by no entry.
bool MatchesStored(std::string_view entry, std::string_view stored);
