#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Commands.h"
#include "Errors.h"

// A fresh directory, removed with everything in it at the end of the test.
class TempDir {
public:
    TempDir() {
        std::string name = (std::filesystem::temp_directory_path() / "veilnote-XXXXXX").string();
        m_path = ::mkdtemp(name.data());
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }

    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    std::string Path() const { return m_path.string(); }

    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// An uncompressed 24-bit bitmap file; its pixel bytes are `fill`, or a
// varied pattern when `fill` is negative.
inline std::string MakeBitmap(std::uint32_t width, std::uint32_t height, int fill = -1) {
    const std::uint32_t pixelBytes = (width * 3 + 3) / 4 * 4 * height;
    std::string bmp = "BM";
    const auto put = [&bmp](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            bmp.push_back(static_cast<char>(value >> (8 * i)));
        }
    };
    put(54 + pixelBytes, 4), put(0, 4), put(54, 4);                    // file header
    put(40, 4), put(width, 4), put(height, 4), put(1, 2), put(24, 2);  // info header
    put(0, 4), put(pixelBytes, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    for (std::uint32_t i = 0; i < pixelBytes; ++i) {
        bmp.push_back(
            static_cast<char>(fill >= 0 ? static_cast<std::uint32_t>(fill) : i * 37 + i / 7));
    }
    return bmp;
}

// The text of the Refusal that `action` throws; "no refusal" when it throws none.
inline std::string RefusalOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Refusal& refusal) {
        return refusal.what();
    }
    return "no refusal";
}

// Null-terminated pointers into `strings`, for execve's argv and envp. The
// strings must outlive the pointers.
inline std::vector<char*> ExecPointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& each : strings)
        pointers.push_back(each.data());
    pointers.push_back(nullptr);
    return pointers;
}

// A line the tool writes to standard error: each says where it comes from.
inline std::string ErrorLine(std::string_view text) {
    return "veilnote-cli: " + std::string(text) + "\n";
}

// How RunTool runs the tool. In this process by default, through RunCli with
// a console of strings; with `asProcess`, the real program in a process of
// its own, without a controlling terminal.
struct ToolRun {
    std::string input{};                    // standard input
    std::optional<std::string> password{};  // VEILNOTE_PASSWORD
    // In this process only:
    PasswordPrompt* prompt = nullptr;  // the terminal; none by default
    bool outIsTerminal = false;
    bool inIsTerminal = false;
    // As a process only:
    bool asProcess = false;
    std::string inputPath{};                // standard input from this file instead of `input`
    std::optional<rlimit> fileSizeLimit{};  // RLIMIT_FSIZE of the process
};

struct Finished {
    int code;  // the exit code; -1 when a signal ended the process
    std::string out;
    std::string err;
};

inline Finished RunToolInProcess(const std::vector<std::string>& args, const ToolRun& how) {
    std::istringstream in(how.input);
    std::ostringstream out;
    std::ostringstream err;
    Console console{in, out, err, how.outIsTerminal, std::nullopt, how.prompt};
    if (how.password) {
        console.environmentPassword.emplace(*how.password);
    }
    console.inIsTerminal = how.inIsTerminal;
    const int code = RunCli(args, console);
    return {code, out.str(), err.str()};
}

inline Finished RunToolAsProcess(std::vector<std::string> args, const ToolRun& how) {
    const TempDir streams;
    const std::string in = how.inputPath.empty() ? streams / "in" : how.inputPath;
    const std::string out = streams / "out", err = streams / "err";
    if (how.inputPath.empty()) {
        WriteText(in, how.input);
    }
    args.insert(args.begin(), VEILNOTE_CLI_PATH);
    std::vector<char*> argv = ExecPointers(args);
    std::vector<std::string> environment;
    if (how.password) {
        environment.push_back("VEILNOTE_PASSWORD=" + *how.password);
    }
    std::vector<char*> envp = ExecPointers(environment);

    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        ::alarm(60);  // a tool that never ends fails the test instead of hanging it
        ::dup2(::open(in.c_str(), O_RDONLY), STDIN_FILENO);
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
        if (how.fileSizeLimit) {
            ::setrlimit(RLIMIT_FSIZE, &*how.fileSizeLimit);
        }
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
}

// Runs the tool on `args` (without the program name) as `how` says.
inline Finished RunTool(const std::vector<std::string>& args, const ToolRun& how = {}) {
    return how.asProcess ? RunToolAsProcess(args, how) : RunToolInProcess(args, how);
}

// The tool's refusal of an unsealed message with a zero byte at `offset`.
inline std::string ZeroByteRefusal(std::size_t offset) {
    return "The message holds a zero byte (at offset " + std::to_string(offset) +
           "), so it is not text: unsealed, it would be cut there. Use --seal to hide any bytes "
           "exactly.";
}
