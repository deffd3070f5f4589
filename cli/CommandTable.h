#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "Arguments.h"
#include "Commands.h"

// One command of the tool: everything its command line is checked against,
// and what runs it once the line is sound. The tool's parsing, its help and
// its bash completion all follow this table, so a command is added or
// changed in one place.
struct Command {
    std::string_view name;
    // What follows the name in a usage line; bracketed groups stay together
    // when the line is wrapped.
    std::string_view synopsis;
    // The help text after the usage line.
    std::string_view description;
    std::span<const std::string_view> options;  // each takes one value
    std::span<const std::string_view> flags;    // each takes none
    std::size_t operands;
    int (*run)(const ParsedArguments& parsed, Console& console);
};

// Every command, in the order the help lists them.
std::span<const Command> ToolCommands();

// The command called `name`, or nullptr.
const Command* FindCommand(std::string_view name);
