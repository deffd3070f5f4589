#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "PasswordPrompt.h"
#include "Revealing.h"
#include "SecretText.h"

// Where a password comes from, in this order: a file, the environment, a prompt.
struct PasswordInputs {
    std::optional<std::string> file;          // --password-file: its first line
    const SecretText* environment = nullptr;  // VEILNOTE_PASSWORD
    PasswordPrompt* prompt = nullptr;         // the terminal, asked last
};

// Interactive entries get this many tries; a file or the environment gets one.
inline constexpr int kPromptAttempts = 3;

// The first line of `text`, without its "\n" or "\r\n".
std::string_view FirstLine(std::string_view text);

// Chooses a new password and returns its stored form. A password from a file
// or the environment is its own confirmation; on a prompt it is asked twice,
// the second time only when the first entry has a length the rules allow.
// Throws Refusal with the message of the rule broken.
std::string ChooseStoredPassword(const PasswordInputs& inputs, std::ostream& err);

// Chooses a new password for sealing, as ChooseStoredPassword does but up to
// 128 bytes long, and returns it whole. A weak one draws a warning on `err`.
SecretText ChoosePassword(const PasswordInputs& inputs, std::ostream& err);

// Asks for the password of a plain carrier; throws WrongPassword when it does not match.
void VerifyPassword(const PasswordInputs& inputs, const CarrierReading& carrier, std::ostream& err);

// Asks for the whole password of a sealed carrier and returns the message;
// throws WrongPassword when no entry opens it.
SecretText OpenWithPassword(const PasswordInputs& inputs, const CarrierReading& carrier,
                            std::ostream& err);
