#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "CleanupOnSignal.h"
#include "Commands.h"
#include "ProcessSetup.h"
#include "TerminalPrompt.h"

namespace {

// Takes VEILNOTE_PASSWORD out of the environment. Its bytes are overwritten
// where they stand first: unsetenv alone leaves them in /proc/PID/environ for
// the life of the process. An empty variable counts as unset, as it does for
// most tools.
std::optional<SecretText> TakeEnvironmentPassword() {
    constexpr const char* kName = "VEILNOTE_PASSWORD";
    char* value = std::getenv(kName);
    if (value == nullptr) {
        return std::nullopt;
    }
    std::optional<SecretText> password;
    if (*value != '\0') {
        password.emplace(std::string_view(value));
    }
    WipeBytes(value, std::strlen(value));
    ::unsetenv(kName);
    return password;
}

}  // namespace

int main(int argc, char** argv) {
    SetUpProcess();
    InstallCleanupHandlers();
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    TerminalPrompt terminal;
    Console console{std::cin,
                    std::cout,
                    std::cerr,
                    ::isatty(STDOUT_FILENO) == 1,
                    TakeEnvironmentPassword(),
                    &terminal,
                    ::isatty(STDERR_FILENO) == 1,
                    ::isatty(STDIN_FILENO) == 1};
    return RunCli(args, console);
}
