// Runs one or more commands one after another and prints the wall time they
// took together, in milliseconds, and the largest maximum resident set size
// among them, in KiB:
//
//     veilnote_time_run cp a b :: sync b
//     12.345 3456
//
// Commands are separated by a lone "::". Each runs directly (no shell, so no
// shell start-up is counted), with its standard output sent to /dev/null so
// that only the figures reach ours; the first that fails ends the run with
// its status. The resident size comes from the kernel's account of each child
// (wait4), which is exact, unlike sampling.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kSeparator = "::";
constexpr int kCannotRun = 127;

struct Outcome {
    int status = 0;  // the command's exit code, or 128 + signal
    long maxResidentKiB = 0;
};

Outcome Run(std::span<char*> command) {
    std::vector<char*> argv(command.begin(), command.end());
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0) {
        std::perror("fork");
        return {kCannotRun, 0};
    }
    if (child == 0) {
        const int nowhere = ::open("/dev/null", O_WRONLY);
        if (nowhere >= 0) {
            ::dup2(nowhere, STDOUT_FILENO);
        }
        ::execvp(argv[0], argv.data());
        std::fprintf(stderr, "cannot run %s: %s\n", argv[0], std::strerror(errno));
        ::_exit(kCannotRun);
    }
    int status = 0;
    rusage usage{};
    while (::wait4(child, &status, 0, &usage) < 0) {
        if (errno != EINTR) {
            std::perror("wait4");
            return {kCannotRun, 0};
        }
    }
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return {code, usage.ru_maxrss};
}

}  // namespace

int main(int argc, char** argv) {
    const std::span<char*> args(argv + 1, static_cast<std::size_t>(std::max(argc - 1, 0)));
    if (args.empty()) {
        std::fprintf(stderr, "usage: veilnote_time_run COMMAND [ARGS...] [:: COMMAND ...]\n");
        return 2;
    }
    long maxResidentKiB = 0;
    const auto started = std::chrono::steady_clock::now();
    auto first = args.begin();
    while (first != args.end()) {
        const auto last =
            std::find_if(first, args.end(), [](const char* arg) { return arg == kSeparator; });
        if (last != first) {
            const Outcome outcome = Run({first, last});
            maxResidentKiB = std::max(maxResidentKiB, outcome.maxResidentKiB);
            if (outcome.status != 0) {
                return outcome.status;
            }
        }
        first = last == args.end() ? last : last + 1;
    }
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - started;
    std::printf("%.3f %ld\n", took.count(), maxResidentKiB);
    return 0;
}
