// Runs the real veilnote-cli on a pseudo-terminal, as a user at a terminal
// would: what reaches the screen, and the state the terminal is left in.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "CliTestSupport.h"
#include "Commands.h"

namespace {

constexpr int kPatienceMs = 20000;  // only a hung tool takes this long

// Waits for `fd` to become readable; false when it never does.
bool Readable(int fd) {
    pollfd wanted{fd, POLLIN, 0};
    return ::poll(&wanted, 1, kPatienceMs) == 1;
}

// The tool on a terminal of its own. With `asJob`, it runs as a shell runs a
// foreground job, in a process group of its own under a small job-control
// parent, so that Ctrl-Z stops it; the parent reports the stop on a pipe and
// continues the job when told to. With a `coreFolder`, it runs there and may
// leave a core file, as far as it lets itself.
class TerminalRun {
public:
    TerminalRun(std::vector<std::string> args, std::vector<std::string> environment,
                bool asJob = false, const std::string& coreFolder = {}) {
        args.insert(args.begin(), VEILNOTE_CLI_PATH);
        std::vector<char*> argv = ExecPointers(args);
        std::vector<char*> envp = ExecPointers(environment);
        EXPECT_EQ(::pipe(m_stopped), 0);
        EXPECT_EQ(::pipe(m_resume), 0);

        m_child = ::forkpty(&m_master, nullptr, nullptr, nullptr);
        if (m_child != 0) {
            return;
        }
        ::alarm(60);  // a tool that never ends fails the test instead of hanging it
        if (!coreFolder.empty()) {
            const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
            ::setrlimit(RLIMIT_CORE, &unlimited);
            (void)::chdir(coreFolder.c_str());
        }
        const pid_t job = asJob ? ::fork() : 0;
        if (job == 0) {
            if (asJob) {
                ::signal(SIGTTOU, SIG_IGN);
                ::setpgid(0, 0);
                ::tcsetpgrp(STDIN_FILENO, ::getpid());
                ::signal(SIGTTOU, SIG_DFL);
            }
            ::execve(argv[0], argv.data(), envp.data());
            ::_exit(127);
        }
        int status = 0;
        while (::waitpid(job, &status, WUNTRACED) == job && WIFSTOPPED(status)) {
            char go = 0;
            (void)::write(m_stopped[1], "S", 1);
            (void)::read(m_resume[0], &go, 1);
            ::kill(job, SIGCONT);
        }
        ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    }
    TerminalRun(const TerminalRun&) = delete;
    TerminalRun& operator=(const TerminalRun&) = delete;
    ~TerminalRun() {
        if (m_child > 0 && ::waitpid(m_child, nullptr, WNOHANG) == 0) {
            ::kill(m_child, SIGKILL);
            ::waitpid(m_child, nullptr, 0);
        }
        for (const int fd : {m_master, m_stopped[0], m_stopped[1], m_resume[0], m_resume[1]})
            ::close(fd);
    }

    // Reads the screen until it shows `text`, or to the end with an empty `text`.
    std::string ReadUntil(const std::string& text = {}) {
        std::array<char, 4096> chunk{};
        while (text.empty() || m_screen.find(text) == std::string::npos) {
            if (!Readable(m_master)) {
                ADD_FAILURE() << "the screen never showed " << text;
                break;
            }
            const ssize_t got = ::read(m_master, chunk.data(), chunk.size());
            if (got <= 0) {
                break;  // EIO: the terminal has no process left
            }
            m_screen.append(chunk.data(), static_cast<std::size_t>(got));
        }
        return m_screen;
    }

    void Type(const std::string& keys) {
        EXPECT_EQ(::write(m_master, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    bool Echoes() const {
        termios settings{};
        EXPECT_EQ(::tcgetattr(m_master, &settings), 0);
        return (settings.c_lflag & ECHO) != 0;
    }

    // Waits until the terminal's echo is `wanted`; the tool sets it on its own time.
    bool EchoBecomes(bool wanted) const {
        for (int tries = 0; tries < kPatienceMs / 5; ++tries) {
            if (Echoes() == wanted) {
                return true;
            }
            ::usleep(5000);
        }
        return false;
    }

    void Signal(int signal) const { ::kill(m_child, signal); }
    pid_t Pid() const { return m_child; }

    bool WaitForStop() {
        char stopped = 0;
        return Readable(m_stopped[0]) && ::read(m_stopped[0], &stopped, 1) == 1;
    }
    void Resume() { EXPECT_EQ(::write(m_resume[1], "G", 1), 1); }

    int Wait() {
        int status = 0;
        EXPECT_EQ(::waitpid(std::exchange(m_child, -1), &status, 0) > 0, true);
        return status;
    }

private:
    pid_t m_child = -1;
    int m_master = -1;
    int m_stopped[2]{-1, -1};
    int m_resume[2]{-1, -1};
    std::string m_screen;
};

class TerminalTest : public ::testing::Test {
protected:
    // Hides `message` under `password` in a fresh carrier.
    void SetUp() override {
        WriteText(image, MakeBitmap(64, 48));
        const Finished hidden =
            RunTool({"hide", image, image}, {.input = message, .password = password});
        ASSERT_EQ(hidden.code, 0) << hidden.err;
    }

    TempDir dir;
    const std::string image = dir / "image.bmp";
    const std::string password = "sesame-open";
    // Anyone may write a carrier: this one would retitle the window and clear
    // the screen, with a C1 escape and a byte that is not UTF-8 too.
    const std::string message = "title\x1b]0;owned\x07 clear\x1b[2J\tc1\xc2\x9b del\x7f \xff end";
};

TEST_F(TerminalTest, SignalsAtThePromptLeaveEchoOnAndNoCore) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal));
        const TempDir cores;
        TerminalRun run({"reveal", image}, {}, false, cores.Path());
        run.ReadUntil("Password: ");
        ASSERT_TRUE(run.EchoBecomes(false));
        if (signal == SIGINT) {
            run.Type("\x03");  // Ctrl-C
        } else if (signal == SIGQUIT) {
            run.Type("\x1c");  // Ctrl-\, whose core file would hold what was typed
        } else {
            run.Signal(signal);
        }
        const int status = run.Wait();
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status;
        EXPECT_FALSE(WCOREDUMP(status));
        EXPECT_TRUE(cores.Names().empty());
        EXPECT_TRUE(run.Echoes());
    }
}

TEST_F(TerminalTest, StoppedAtThePromptEchoesUntilContinued) {
    TerminalRun run({"reveal", image}, {}, true);
    run.ReadUntil("Password: ");
    ASSERT_TRUE(run.EchoBecomes(false));
    run.Type("\x1a");  // Ctrl-Z
    ASSERT_TRUE(run.WaitForStop());
    EXPECT_TRUE(run.Echoes()) << "the shell gets its terminal back as it was";
    run.Resume();
    EXPECT_TRUE(run.EchoBecomes(false)) << "the prompt goes on without echo";
    run.Type(password + "\n");
    const std::string screen = run.ReadUntil();
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_EQ(screen.find(password), std::string::npos) << "the password was echoed";
    EXPECT_NE(screen.find("end"), std::string::npos) << screen;
    EXPECT_TRUE(run.Echoes());
}

TEST_F(TerminalTest, TerminalsAreShownControlCharactersNotSentThem) {
    TerminalRun run({"reveal", image}, {"VEILNOTE_PASSWORD=" + password});
    const std::string screen = run.ReadUntil();
    EXPECT_EQ(run.Wait(), 0);
    // The terminal turns "\n" into "\r\n" on output.
    EXPECT_EQ(screen, "title^[]0;owned^G clear^[[2J\tc1\\u009B del^? \\xFF end\r\n");

    // A pipe gets the exact bytes.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDOUT_FILENO);
        const std::string variable = "VEILNOTE_PASSWORD=" + password;
        char* const argv[] = {const_cast<char*>(VEILNOTE_CLI_PATH), const_cast<char*>("reveal"),
                              const_cast<char*>(image.c_str()), nullptr};
        char* const envp[] = {const_cast<char*>(variable.c_str()), nullptr};
        ::execve(argv[0], argv, envp);
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string piped;
    std::array<char, 4096> chunk{};
    for (ssize_t got; (got = ::read(pipeEnds[0], chunk.data(), chunk.size())) > 0;)
        piped.append(chunk.data(), static_cast<std::size_t>(got));
    ::close(pipeEnds[0]);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(piped, message);

    // File names in messages are shown the same way.
    const std::string named = dir / "\x1b[2J.bmp";
    TerminalRun missing({"info", named}, {});
    EXPECT_EQ(missing.ReadUntil(),
              "veilnote-cli: cannot read " + dir / "^[[2J.bmp" + ": No such file or directory\r\n");
}

TEST_F(TerminalTest, HideFromTheKeyboardSaysHowToEndAndKeepsNoPasswordInTheEnvironment) {
    const std::string output = dir / "typed.bmp";
    TerminalRun run({"hide", image, output}, {"VEILNOTE_PASSWORD=" + password});
    run.ReadUntil("veilnote-cli: Type the message, then press Ctrl-D on a line of its own.\r\n");
    // What any process of the same user may read while the tool runs.
    const std::string environment = ReadText("/proc/" + std::to_string(run.Pid()) + "/environ");
    EXPECT_EQ(environment.find(password), std::string::npos);
    run.Type("typed words\n\x04");
    run.ReadUntil();
    const int status = run.Wait();
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(RunTool({"reveal", output}, {.password = password}).out, "typed words");
}

}  // namespace
