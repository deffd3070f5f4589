#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <span>
#include <string>

#include "PasswordPrompt.h"
#include "SecretText.h"

// What a command reads from and writes to, so that it runs without a process.
struct Console {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
    bool outIsTerminal = false;
    std::optional<SecretText> environmentPassword;  // VEILNOTE_PASSWORD, when not empty
    PasswordPrompt* prompt = nullptr;               // nullptr: there is no terminal
    bool errIsTerminal = false;
    bool inIsTerminal = false;  // someone types the message, and needs to know how to end it
};

// Runs the tool on `args` (without the program name); returns the exit code.
// Refusals go to console.err, usage errors too, with the usage after them;
// each line there starts with "veilnote-cli: ", but for the usage.
int RunCli(std::span<const std::string> args, Console& console);

struct ParsedArguments;

// The commands. Each takes its command line, already checked against its
// entry in the command table, returns the exit code, and throws Refusal or
// UsageError.
int RunHide(const ParsedArguments& parsed, Console& console);
int RunReveal(const ParsedArguments& parsed, Console& console);
int RunInfo(const ParsedArguments& parsed, Console& console);
