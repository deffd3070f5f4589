#pragma once

#include <stdexcept>
#include <string>

// Exit codes of the tool.
enum class ExitCode : int { kSuccess = 0, kRefused = 1, kUsage = 2 };

// The tool refuses to go on; `what()` is the text the user sees (exit 1).
// An empty text means the reason has already been printed.
class Refusal : public std::runtime_error {
public:
    explicit Refusal(const std::string& message) : std::runtime_error(message) {}
};

// The command line itself is wrong (exit 2, usage follows the text).
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};
