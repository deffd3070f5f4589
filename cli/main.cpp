#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "CleanupOnSignal.h"
#include "Commands.h"
#include "TerminalPrompt.h"

namespace {

// An empty variable counts as unset, as it does for most tools.
std::optional<std::string> EnvironmentPassword() {
    const char* value = std::getenv("VEILNOTE_PASSWORD");
    if (value == nullptr || *value == '\0') {
        return std::nullopt;
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    InstallCleanupHandlers();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    TerminalPrompt terminal;
    Console console{std::cin,
                    std::cout,
                    std::cerr,
                    ::isatty(STDOUT_FILENO) == 1,
                    EnvironmentPassword(),
                    &terminal,
                    ::isatty(STDERR_FILENO) == 1};
    return RunCli(args, console);
}
