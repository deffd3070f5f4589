#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>

// What the program's arguments ask for, read before any window exists.
struct StartRequest {
    enum class Kind { RunWindow, PrintHelp, PrintVersion, UsageError };
    Kind kind = Kind::RunWindow;
    std::string problem;          // what is wrong, for a usage error
    bool platformChosen = false;  // -platform or -display names where the window goes
};

// Reads `args` (without the program name): --help, -h and --version, the
// window system's own options (-platform NAME, -style NAME, ...), which it
// leaves to the window system, and at most one FILE; "--" ends the options.
// Anything else is a usage error.
StartRequest ReadStartRequest(std::span<char* const> args);

// Answers what can be answered without a window: help, version, a usage
// error (on `err`, exit code 2), or that no display can be reached (on `err`,
// exit code 1). The exit code, or nothing when the window can start.
std::optional<int> AnswerBeforeWindow(const StartRequest& request, std::ostream& out,
                                      std::ostream& err);

// The file to open at start, as Open image would: the first argument that is
// no option (after "--", the first argument), made absolute against the
// working folder; empty when there is none. `args` are those the window
// system left once it took its own options.
std::string StartFileOf(std::span<const std::string> args);
