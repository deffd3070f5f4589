#include "Arguments.h"

#include <algorithm>

#include "Errors.h"

namespace {

bool IsHelp(std::string_view arg) {
    return arg == "-h" || arg == "--help";
}

bool IsPasswordOption(std::string_view name) {
    return name == "--password" || name == "-p" || name == "--pass";
}

}  // namespace

std::string OptionName(std::string_view arg) {
    // "-pVALUE" is a one-letter option with its value attached, which may be
    // a secret and is never repeated back.
    if (!arg.starts_with("--") && arg.size() > 2) {
        return std::string(arg.substr(0, 2));
    }
    return std::string(arg.substr(0, arg.find('=')));
}

ParsedArguments ParseArguments(std::span<const std::string> args,
                               std::span<const std::string_view> valueOptions,
                               std::span<const std::string_view> flagOptions) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with('-')) {
            parsed.operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (IsHelp(arg)) {
            parsed.help = true;
            return parsed;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = OptionName(arg);
        if (IsPasswordOption(name)) {
            throw UsageError(
                "a password is never taken on the command line; use --password-file PWFILE or "
                "VEILNOTE_PASSWORD");
        }
        if (std::find(flagOptions.begin(), flagOptions.end(), name) != flagOptions.end()) {
            if (equals != std::string::npos) {
                throw UsageError(name + " takes no value");
            }
            if (!parsed.flags.insert(name).second) {
                throw UsageError(name + " given twice");
            }
            continue;
        }
        if (std::find(valueOptions.begin(), valueOptions.end(), name) == valueOptions.end()) {
            throw UsageError("unknown option " + name);
        }
        if (parsed.options.contains(name)) {
            throw UsageError(name + " given twice");
        }
        if (equals != std::string::npos) {
            parsed.options.emplace(name, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            parsed.options.emplace(name, args[++i]);
        } else {
            throw UsageError(name + " needs a value");
        }
    }
    return parsed;
}

void RequireOperands(const ParsedArguments& parsed, std::size_t count) {
    if (parsed.operands.size() < count) {
        throw UsageError("missing arguments");
    }
    if (parsed.operands.size() > count) {
        throw UsageError("unexpected argument " + parsed.operands[count]);
    }
}
