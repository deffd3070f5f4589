#include "Commands.h"

#include <exception>
#include <string_view>

#include "Arguments.h"
#include "Errors.h"
#include "TerminalText.h"
#include "Usage.h"
#include "Version.h"

namespace {

int Dispatch(std::string_view command, std::span<const std::string> rest, Console& console) {
    if (command == "-h" || command == "--help") {
        console.out << ToolUsage();
        return static_cast<int>(ExitCode::kSuccess);
    }
    if (command == "--version") {
        console.out << "veilnote-cli " << version::kDotted << '\n';
        return static_cast<int>(ExitCode::kSuccess);
    }
    if (command == "hide") {
        return RunHide(rest, console);
    }
    if (command == "reveal") {
        return RunReveal(rest, console);
    }
    if (command == "info") {
        return RunInfo(rest, console);
    }
    throw UsageError(command.starts_with('-') ? "unknown option " + OptionName(command)
                                              : "unknown command " + std::string(command));
}

}  // namespace

int RunCli(std::span<const std::string> args, Console& console) {
    const std::string_view command = args.empty() ? std::string_view() : args.front();
    // Messages may name files and arguments, which may hold anything.
    const auto shown = [&console](const char* text) {
        return console.errIsTerminal ? TerminalSafe(text) : std::string(text);
    };
    try {
        if (args.empty()) {
            throw UsageError("missing command");
        }
        return Dispatch(command, args.subspan(1), console);
    } catch (const UsageError& error) {
        console.err << shown(error.what()) << '\n' << CommandUsage(command);
        return static_cast<int>(ExitCode::kUsage);
    } catch (const Refusal& error) {
        if (*error.what() != '\0') {
            console.err << shown(error.what()) << '\n';
        }
    } catch (const std::exception& error) {
        console.err << "unexpected failure: " << shown(error.what()) << '\n';
    }
    return static_cast<int>(ExitCode::kRefused);
}
