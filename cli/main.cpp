#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"
#include "TerminalPrompt.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    TerminalPrompt terminal;
    const char* environmentPassword = std::getenv("VEILNOTE_PASSWORD");
    Console console{std::cin,
                    std::cout,
                    std::cerr,
                    ::isatty(STDOUT_FILENO) == 1,
                    environmentPassword != nullptr ? std::optional<std::string>(environmentPassword)
                                                   : std::nullopt,
                    &terminal};
    return RunCli(args, console);
}
