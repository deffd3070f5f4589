#include "CleanupOnSignal.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

// The one state shared with the handlers, by necessity global. Each slot is
// filled first and published by its flag, so a handler never sees half of it.
struct SignalCleanup {
    char temporary[PATH_MAX]{};
    std::atomic<bool> hasTemporary{false};
    int terminal = -1;
    termios saved{};
    termios active{};
    std::atomic<bool> hasTerminal{false};
};

SignalCleanup g_cleanup;

static_assert(std::atomic<bool>::is_always_lock_free, "handlers read the flags");

void Undo() {
    if (g_cleanup.hasTemporary.load()) {
        ::unlink(g_cleanup.temporary);
    }
    if (g_cleanup.hasTerminal.load()) {
        ::tcsetattr(g_cleanup.terminal, TCSANOW, &g_cleanup.saved);
    }
}

void Install(int signal, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    ::sigaction(signal, &action, nullptr);
}

void OnFatalSignal(int signal) {
    Undo();
    Install(signal, SIG_DFL);
    ::raise(signal);  // delivered once the handler returns, with the default action
}

void OnStop(int signal) {
    const int savedErrno = errno;
    if (g_cleanup.hasTerminal.load()) {
        ::tcsetattr(g_cleanup.terminal, TCSANOW, &g_cleanup.saved);
    }
    Install(signal, SIG_DFL);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, signal);
    ::raise(signal);
    // The stop happens when the signal is unblocked; we continue from here.
    // An orphaned process group is not stopped at all, and goes on at once.
    ::sigprocmask(SIG_UNBLOCK, &stop, nullptr);
    Install(signal, OnStop);
    if (g_cleanup.hasTerminal.load()) {
        ::tcsetattr(g_cleanup.terminal, TCSANOW, &g_cleanup.active);
    }
    errno = savedErrno;
}

void OnContinue(int /*signal*/) {
    const int savedErrno = errno;
    if (g_cleanup.hasTerminal.load()) {
        ::tcsetattr(g_cleanup.terminal, TCSANOW, &g_cleanup.active);
    }
    errno = savedErrno;
}

// A process started with a signal ignored (nohup, a background job) keeps it so.
void InstallUnlessIgnored(int signal, void (*handler)(int)) {
    struct sigaction current {};
    if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
        return;
    }
    Install(signal, handler);
}

}  // namespace

void InstallCleanupHandlers() {
    for (const int signal : kFatalSignals) {
        InstallUnlessIgnored(signal, OnFatalSignal);
    }
    InstallUnlessIgnored(SIGTSTP, OnStop);
    Install(SIGCONT, OnContinue);
}

void SetTemporaryToRemove(const char* path) {
    g_cleanup.hasTemporary.store(false);
    if (path == nullptr || std::strlen(path) >= sizeof g_cleanup.temporary) {
        return;
    }
    std::strcpy(g_cleanup.temporary, path);
    g_cleanup.hasTemporary.store(true);
}

void SetTerminalToRestore(int fd, const termios& saved, const termios& active) {
    g_cleanup.hasTerminal.store(false);
    g_cleanup.terminal = fd;
    g_cleanup.saved = saved;
    g_cleanup.active = active;
    g_cleanup.hasTerminal.store(true);
}

void ForgetTerminal() {
    g_cleanup.hasTerminal.store(false);
}
