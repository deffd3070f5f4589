#include "Usage.h"

#include "CommandTable.h"

namespace {

// Help lines stay within a terminal of 80 columns.
constexpr std::size_t kLineWidth = 79;

constexpr std::string_view kToolHead =
    "Usage: veilnote-cli COMMAND ...\n"
    "       veilnote-cli --help | --version\n"
    "Hides a short password-guarded text message in a .bmp file, and reveals it.\n"
    "\n"
    "Commands:\n";

constexpr std::string_view kToolTail =
    "\n"
    "Run 'veilnote-cli COMMAND --help' for one command's details.\n"
    "The password is the first line of PWFILE, else $VEILNOTE_PASSWORD, else it is\n"
    "asked on the terminal. It is never taken on the command line.\n"
    "\n"
    "Exit status: 0 on success; 1 on any other failure, an image without a hidden\n"
    "message included; 2 for a mistake on the command line; 3 for a wrong password,\n"
    "also one that does not open a sealed message. Error lines on standard error\n"
    "start with \"veilnote-cli: \".\n";

// `lead` followed by `synopsis`, wrapped between its words; a bracketed
// group is one word. Continuation lines start under the synopsis.
std::string UsageLine(const std::string& lead, std::string_view synopsis) {
    std::string text = lead;
    std::size_t lineStart = 0;
    std::size_t depth = 0;
    std::size_t wordStart = 0;
    for (std::size_t i = 0; i <= synopsis.size(); ++i) {
        const char c = i < synopsis.size() ? synopsis[i] : ' ';
        depth += c == '[' ? 1 : 0;
        depth -= c == ']' && depth > 0 ? 1 : 0;
        if (c != ' ' || depth > 0) {
            continue;
        }
        const std::string_view word = synopsis.substr(wordStart, i - wordStart);
        wordStart = i + 1;
        if (word.empty()) {
            continue;
        }
        const bool firstOnLine = text.size() - lineStart == lead.size();
        if (!firstOnLine && text.size() - lineStart + 1 + word.size() > kLineWidth) {
            text += '\n';
            lineStart = text.size();
            text.append(lead.size(), ' ');
        }
        text += ' ';
        text += word;
    }
    return text + '\n';
}

}  // namespace

std::string ToolUsage() {
    std::string text(kToolHead);
    for (const Command& command : ToolCommands()) {
        text += UsageLine("  " + std::string(command.name), command.synopsis);
    }
    return text += kToolTail;
}

std::string CommandUsage(std::string_view name) {
    const Command* command = FindCommand(name);
    if (command == nullptr) {
        return ToolUsage();
    }
    return UsageLine("Usage: veilnote-cli " + std::string(command->name), command->synopsis) +
           std::string(command->description);
}
