#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "PasswordPrompt.h"

// What a command reads from and writes to, so that it runs without a process.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;
    std::optional<std::string> environmentPassword;  // VEILNOTE_PASSWORD, when not empty
    PasswordPrompt* prompt = nullptr;                // nullptr: there is no terminal
    bool errIsTerminal = false;
};

// Runs the tool on `args` (without the program name); returns the exit code.
// Refusals go to console.err, usage errors too, with the usage after them.
int RunCli(std::span<const std::string> args, Console& console);

// The commands. Each takes the arguments after its name, returns the exit
// code, and throws Refusal or UsageError.
int RunHide(std::span<const std::string> args, Console& console);
int RunReveal(std::span<const std::string> args, Console& console);
int RunInfo(std::span<const std::string> args, Console& console);
