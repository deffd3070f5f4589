#pragma once

#include <optional>
#include <string>

#include "SecretText.h"

// Asks the user for a password interactively.
class PasswordPrompt {
public:
    virtual ~PasswordPrompt() = default;

    // Shows `prompt` and reads one line without echoing it: the line without
    // its end. When the input ends before a line end, what was typed before
    // that, or nothing if that is empty. Throws Refusal when there is no one
    // to ask.
    virtual std::optional<SecretText> Ask(const std::string& prompt) = 0;
};
