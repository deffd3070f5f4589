#pragma once

#include <stdexcept>
#include <string>

// Exit codes of the tool, so that a script can tell a wrong password from
// other failures without reading the message.
enum class ExitCode : int { kSuccess = 0, kRefused = 1, kUsage = 2, kWrongPassword = 3 };

// The tool refuses to go on; `what()` is the text the user sees (exit 1).
// An empty text means the reason has already been printed.
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& message) : std::runtime_error(message) {}
    virtual ExitCode Code() const { return ExitCode::kRefused; }
};

// The password given does not open the carrier (exit 3).
class WrongPassword : public Refusal {
public:
    using Refusal::Refusal;
    ExitCode Code() const override { return ExitCode::kWrongPassword; }
};

// The command line itself is wrong (exit 2, usage follows the text).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};
