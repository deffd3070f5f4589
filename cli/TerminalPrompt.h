#pragma once

#include "PasswordPrompt.h"

// Asks on the controlling terminal (/dev/tty) with echo switched off, so it
// works while standard input and output are redirected.
class TerminalPrompt : public PasswordPrompt {
public:
    std::optional<SecretText> Ask(const std::string& prompt) override;
};
