#include "CommandLine.h"

#include <filesystem>
#include <string_view>

#include "Version.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: veilnote [FILE]\n"
    "       veilnote --help | --version\n"
    "Hides a short password-guarded text message in a .bmp image, and reveals it.\n"
    "Starts with FILE open, as Open image would open it.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "The window system's own options, such as -platform NAME, are accepted too.\n"
    "For scripts and terminals, see veilnote-cli --help.\n";

}  // namespace

StartRequest ReadStartRequest(std::span<char* const> args) {
    for (const char* arg : args) {
        const std::string_view option(arg);
        if (option == "--")
            break;
        if (option == "--help" || option == "-h")
            return StartRequest::PrintHelp;
        if (option == "--version")
            return StartRequest::PrintVersion;
    }
    return StartRequest::RunWindow;
}

void PrintStartRequest(StartRequest request, std::ostream& out) {
    switch (request) {
        case StartRequest::PrintHelp:
            out << kUsage;
            break;
        case StartRequest::PrintVersion:
            out << "veilnote " << version::kDotted << '\n';
            break;
        case StartRequest::RunWindow:
            break;
    }
}

std::string StartFileOf(std::span<const std::string> args) {
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.size() > 1 && arg.front() == '-')
            continue;
        std::error_code error;
        const std::filesystem::path absolute = std::filesystem::absolute(arg, error);
        return error ? arg : absolute.string();
    }
    return {};
}
