#pragma once

#include <map>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A command's arguments: its operands and its options with their values.
struct ParsedArguments {
    std::vector<std::string> operands;
    std::map<std::string, std::string, std::less<>> options;
    std::set<std::string, std::less<>> flags;
    bool help = false;  // -h or --help was given; parsing stopped there
};

// Splits `args` for a command that takes the options `valueOptions`, each
// with one value ("--name VALUE" or "--name=VALUE"), and the options
// `flagOptions`, which take none. "--" ends the options. Throws UsageError
// for an unknown or repeated option, a value-less one, or a flag with a value.
ParsedArguments ParseArguments(std::span<const std::string> args,
                               std::span<const std::string_view> valueOptions,
                               std::span<const std::string_view> flagOptions = {});

// The name of the option `arg`, without any value attached to it
// ("--name=VALUE", "-xVALUE"), fit to be shown.
std::string OptionName(std::string_view arg);

// Throws UsageError unless exactly `count` operands were given.
void RequireOperands(const ParsedArguments& parsed, std::size_t count);
