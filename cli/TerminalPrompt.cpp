#include "TerminalPrompt.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>

#include "CleanupOnSignal.h"
#include "Errors.h"
#include "UniqueFd.h"

namespace {

// Switches echo off on a terminal and back on when it goes, or when a
// signal ends or stops the process meanwhile.
class EchoOff {
public:
    explicit EchoOff(int fd) : m_fd(fd) {
        m_active = ::tcgetattr(m_fd, &m_saved) == 0;
        if (m_active) {
            termios quiet = m_saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            quiet.c_lflag |= ECHONL;
            SetTerminalToRestore(m_fd, m_saved, quiet);
            m_active = ::tcsetattr(m_fd, TCSAFLUSH, &quiet) == 0;
            if (!m_active) {
                ForgetTerminal();
            }
        }
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;
    ~EchoOff() {
        if (m_active) {
            ::tcsetattr(m_fd, TCSAFLUSH, &m_saved);
            ForgetTerminal();
        }
    }

private:
    int m_fd;
    termios m_saved{};
    bool m_active = false;
};

void WriteText(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t put = ::write(fd, text.data() + done, text.size() - done);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            return;
        }
        done += static_cast<std::size_t>(put);
    }
}

// One line without its line end. Input that ends first gives what was read
// before its end, or nothing when that is empty.
std::optional<SecretText> ReadLine(int fd) {
    SecretText line;
    for (;;) {
        char c = 0;
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            if (line.Size() == 0) {
                return std::nullopt;
            }
            return line;
        }
        if (c == '\n') {
            return line;
        }
        line.Append({&c, 1});
        WipeBytes(&c, 1);
    }
}

}  // namespace

std::optional<SecretText> TerminalPrompt::Ask(const std::string& prompt) {
    const UniqueFd tty(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!tty.Valid()) {
        throw Refusal(
            "no password given: use --password-file PWFILE, set VEILNOTE_PASSWORD, or run on a "
            "terminal");
    }
    WriteText(tty.Get(), prompt);
    const EchoOff echoOff(tty.Get());
    return ReadLine(tty.Get());
}
