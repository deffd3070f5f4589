#pragma once

#include <ostream>
#include <span>
#include <string>

// What the program's own options ask for, before any window exists.
enum class StartRequest { RunWindow, PrintHelp, PrintVersion };

// Reads `args` (without the program name) for --help, -h and --version; "--"
// ends the options. Every other argument is left to the window system, which
// has options of its own (-platform NAME, -style NAME, ...).
StartRequest ReadStartRequest(std::span<char* const> args);

// Prints what `request` asks for; nothing for RunWindow.
void PrintStartRequest(StartRequest request, std::ostream& out);

// The file to open at start, as Open image would: the first argument that is
// no option (after "--", the first argument), made absolute against the
// working folder; empty when there is none. `args` are those the window
// system left once it took its own options.
std::string StartFileOf(std::span<const std::string> args);
