#include "CommandLine.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "Version.h"

namespace {

constexpr std::string_view kUsageLine = "Usage: veilnote [FILE]   (veilnote --help for more)\n";

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
    "The window needs a display; for scripts and terminals, see veilnote-cli --help.\n";

constexpr std::string_view kNoDisplay =
    "veilnote: no display to open the window on; veilnote-cli works without one\n";

// The window system's options that the program passes on to it: those that
// take a value (as the next argument, or after "="), and those that do not.
constexpr std::array<std::string_view, 16> kWindowSystemOptionsWithValue = {"platform",
                                                                            "platformpluginpath",
                                                                            "platformtheme",
                                                                            "plugin",
                                                                            "qwindowgeometry",
                                                                            "geometry",
                                                                            "qwindowtitle",
                                                                            "title",
                                                                            "qwindowicon",
                                                                            "icon",
                                                                            "session",
                                                                            "style",
                                                                            "stylesheet",
                                                                            "display",
                                                                            "name",
                                                                            "qmljsdebugger"};
// Only these take their value after "=" as well.
constexpr std::array<std::string_view, 3> kWindowSystemOptionsWithAttachedValue = {
    "style", "stylesheet", "qmljsdebugger"};
constexpr std::array<std::string_view, 6> kWindowSystemFlags = {
    "reverse", "widgetcount", "nograb", "dograb", "sync", "testability"};

bool IsOneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

StartRequest Asking(StartRequest::Kind kind, std::string problem = {}) {
    StartRequest request;
    request.kind = kind;
    request.problem = std::move(problem);
    return request;
}

StartRequest UsageError(std::string problem) {
    return Asking(StartRequest::Kind::UsageError, std::move(problem));
}

bool IsSet(const char* variable) {
    const char* value = std::getenv(variable);
    return value && *value;
}

}  // namespace

StartRequest ReadStartRequest(std::span<char* const> args) {
    StartRequest request;
    int files = 0;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg(args[i]);
        if (optionsEnded || arg.size() < 2 || arg.front() != '-') {
            if (++files > 1)
                return UsageError("only one FILE can be opened");
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "--help" || arg == "-h")
            return Asking(StartRequest::Kind::PrintHelp);
        if (arg == "--version")
            return Asking(StartRequest::Kind::PrintVersion);

        // The window system reads "--name" as "-name", and for a few
        // options a value after "=".
        std::string_view name = arg.substr(arg.starts_with("--") ? 2 : 1);
        const auto equals = name.find('=');
        const bool valueAttached = equals != std::string_view::npos;
        name = name.substr(0, equals);
        if (valueAttached && !IsOneOf(name, kWindowSystemOptionsWithAttachedValue))
            return UsageError("unknown option " + std::string(arg));
        if (IsOneOf(name, kWindowSystemOptionsWithValue)) {
            if (!valueAttached && ++i == args.size())
                return UsageError("option " + std::string(arg) + " needs a value");
            request.platformChosen =
                request.platformChosen || name == "platform" || name == "display";
        } else if (!IsOneOf(name, kWindowSystemFlags)) {
            return UsageError("unknown option " + std::string(arg));
        }
    }
    return request;
}

std::optional<int> AnswerBeforeWindow(const StartRequest& request, std::ostream& out,
                                      std::ostream& err) {
    switch (request.kind) {
        case StartRequest::Kind::PrintHelp:
            out << kUsage;
            return out.flush() ? EXIT_SUCCESS : EXIT_FAILURE;
        case StartRequest::Kind::PrintVersion:
            out << "veilnote " << version::kDotted << '\n';
            return out.flush() ? EXIT_SUCCESS : EXIT_FAILURE;
        case StartRequest::Kind::UsageError:
            err << "veilnote: " << request.problem << '\n' << kUsageLine;
            return 2;
        case StartRequest::Kind::RunWindow:
            break;
    }
    // Without a display the window system would abort the program; a
    // platform chosen by name is the window system's to start, or refuse.
    const bool windowSystem = request.platformChosen || IsSet("QT_QPA_PLATFORM") ||
                              IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
    if (!windowSystem) {
        err << kNoDisplay;
        return EXIT_FAILURE;
    }
    return std::nullopt;
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
