#pragma once

#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A command's arguments: its operands and its options with their values.
struct ParsedArguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options;
    bool help = false;  // -h or --help was given; parsing stopped there
};

// Splits `args` for a command that takes the options `valueOptions`, each
// with one value ("--name VALUE" or "--name=VALUE"). "--" ends the options.
// Throws UsageError for an unknown, repeated or value-less option.
ParsedArguments ParseArguments(std::span<const std::string> args,
                               std::span<const std::string_view> valueOptions);

// The name of the option `arg`, without any value attached to it
// ("--name=VALUE", "-xVALUE"), fit to be shown.
std::string OptionName(std::string_view arg);

// Throws UsageError unless exactly `count` operands were given.
void RequireOperands(const ParsedArguments& parsed, std::size_t count);
