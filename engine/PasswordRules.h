#pragma once

#include <optional>
#include <string>

// Password rules shared by the window and the command-line tool. Passwords
// are byte strings in the locale's encoding; lengths and cuts count bytes.

inline constexpr const char* kStoredSuffix = "58203614";
// Only this many bytes of a plain carrier's password are kept, and so count.
inline constexpr std::size_t kCountedPasswordBytes = 8;
// Every password record Hide writes holds a stored form this long.
inline constexpr std::size_t kStoredFormBytes = 16;
inline constexpr std::size_t kMinPasswordLength = 8;
inline constexpr std::size_t kMaxPasswordLength = 16;

inline constexpr const char* kPasswordTooShort = "password  must be at least 8 chars";
inline constexpr const char* kPasswordTooLong = "password is to long it must at most 16 chars";
inline constexpr const char* kPasswordMismatch = "Password & Confirm Pw not match";
inline constexpr const char* kPasswordInvalid = "Invalid password try again";
inline constexpr const char* kPasswordReservedByte =
    "password contains a character that is not allowed";
// A zero byte ends the password record early, so that no entry could match it.
inline constexpr const char* kPasswordHasZeroByte =
    "a password cannot hold a zero byte: it could never be entered to reveal the message";

// The first 8 bytes of `password` followed by "58203614".
std::string StoredForm(const std::string& password);

// Whether `stored` is a stored form as Hide writes one: 16 bytes ending in
// the fixed suffix.
bool IsStoredForm(const std::string& stored);

// Choosing a password: the message of the first rule broken (length, no
// zero byte, no byte reserved for sealed carriers, then confirmation), or
// nothing when the pair is accepted.
std::optional<std::string> CheckChosenPassword(const std::string& password,
                                               const std::string& confirmation);

// Verifying an entry against a stored password. The sealed carriers' stored
// form is matched by no entry.
bool MatchesStored(const std::string& entry, const std::string& stored);
