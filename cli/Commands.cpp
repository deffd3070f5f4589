#include "Commands.h"

#include <exception>
#include <string_view>

#include "Arguments.h"
#include "CommandTable.h"
#include "Errors.h"
#include "PrefixedLines.h"
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
    const Command* found = FindCommand(command);
    if (found == nullptr) {
        throw UsageError(command.starts_with('-') ? "unknown option " + OptionName(command)
                                                  : "unknown command " + std::string(command));
    }
    const ParsedArguments parsed = ParseArguments(rest, found->options, found->flags);
    if (parsed.help) {
        console.out << CommandUsage(command);
        return static_cast<int>(ExitCode::kSuccess);
    }
    RequireOperands(parsed, found->operands);
    return found->run(parsed, console);
}

// While it lives, every line written to `err` starts with the tool's name, as
// scripts and logs that gather several tools' errors need; Raw() writes
// without it.
class NamedErrorLines {
public:
    explicit NamedErrorLines(std::ostream& err)
        : m_err(err), m_raw(err.rdbuf()), m_named(m_raw, "veilnote-cli: ") {
        m_previous = m_err.rdbuf(&m_named);
    }
    NamedErrorLines(const NamedErrorLines&) = delete;
    NamedErrorLines& operator=(const NamedErrorLines&) = delete;
    ~NamedErrorLines() { m_err.rdbuf(m_previous); }

    std::ostream& Raw() { return m_raw; }

private:
    std::ostream& m_err;
    std::ostream m_raw;
    PrefixedLines m_named;
    std::streambuf* m_previous = nullptr;
};

}  // namespace

int RunCli(std::span<const std::string> args, Console& console) {
    const std::string_view command = args.empty() ? std::string_view() : args.front();
    // Messages may name files and arguments, which may hold anything.
    const auto shown = [&console](const char* text) {
        return console.errIsTerminal ? TerminalSafe(text) : std::string(text);
    };
    NamedErrorLines errorLines(console.err);
    try {
        if (args.empty()) {
            throw UsageError("missing command");
        }
        return Dispatch(command, args.subspan(1), console);
    } catch (const UsageError& error) {
        console.err << shown(error.what()) << '\n';
        // The usage block is not an error line; it keeps its own form.
        errorLines.Raw() << CommandUsage(command);
        return static_cast<int>(ExitCode::kUsage);
    } catch (const Refusal& error) {
        if (*error.what() != '\0') {
            console.err << shown(error.what()) << '\n';
        }
        return static_cast<int>(error.Code());
    } catch (const std::exception& error) {
        console.err << "unexpected failure: " << shown(error.what()) << '\n';
    }
    return static_cast<int>(ExitCode::kRefused);
}
