// Runs the real veilnote-cli program on files in a temporary folder.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "CliTestSupport.h"
#include "PasswordRules.h"

namespace {

struct Finished {
    int code;
    std::string out;
    std::string err;
};

// Runs the tool without a controlling terminal, with `input` on its standard
// input (or the file `inputPath`) and only `environment` ("NAME=value"
// entries) as its environment.
Finished RunTool(const TempDir& dir, std::vector<std::string> args, const std::string& input = {},
                 std::vector<std::string> environment = {}, const std::string& inputPath = {}) {
    const std::string in = inputPath.empty() ? dir / ".in" : inputPath;
    const std::string out = dir / ".out", err = dir / ".err";
    if (inputPath.empty()) {
        WriteText(in, input);
    }
    args.insert(args.begin(), VEILNOTE_CLI_PATH);
    std::vector<char*> argv = ExecPointers(args);
    std::vector<char*> envp = ExecPointers(environment);

    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        ::alarm(60);  // a tool that never ends fails the test instead of hanging it
        ::dup2(::open(in.c_str(), O_RDONLY), STDIN_FILENO);
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
        ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
        ::execve(argv[0], argv.data(), envp.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    Finished finished{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
    for (const std::string& name : {dir / ".in", out, err})
        std::filesystem::remove(name);
    return finished;
}

class EndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteText(image, bitmap);
        WriteText(passwordFile, "Tr0ub4dor&3\n");
    }

    TempDir dir;
    const std::string bitmap = MakeBitmap(64, 48);
    const std::string image = dir / "image.bmp";
    const std::string output = dir / "hidden.bmp";
    const std::string passwordFile = dir / "pw";
};

TEST_F(EndToEndTest, HideThenRevealTouchesOnlyLowBitsPastTheHeader) {
    WriteText(dir / "message.txt", "Meet at the north gate.\nBring the map.\n");
    const Finished hidden = RunTool(dir, {"hide", image, output, "--text-file", dir / "message.txt",
                                          "--password-file", passwordFile});
    ASSERT_EQ(hidden.code, 0) << hidden.err;

    const std::string carrier = ReadText(output);
    ASSERT_EQ(carrier.size(), bitmap.size());
    EXPECT_NE(carrier, bitmap);
    EXPECT_EQ(carrier.substr(0, 68), bitmap.substr(0, 68));
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        ASSERT_EQ(carrier[i] | 1, bitmap[i] | 1) << "byte " << i;
    }

    const Finished revealed = RunTool(dir, {"reveal", output, "--password-file", passwordFile});
    EXPECT_EQ(revealed.code, 0);
    EXPECT_EQ(revealed.out, "Meet at the north gate.\nBring the map.") << "no newline added";

    const Finished wrong = RunTool(dir, {"reveal", output}, {}, {"VEILNOTE_PASSWORD=Tr0ub4Do"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_EQ(wrong.err, "Invalid password try again\n");
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"hidden.bmp", "image.bmp", "message.txt", "pw"}));
}

TEST_F(EndToEndTest, SealedHideChangesOnlyLowBitsAndNeedsTheWholePassword) {
    const Finished hidden = RunTool(dir, {"hide", "--seal", image, output}, "sealed words\n",
                                    {"VEILNOTE_PASSWORD=sixteen-bytes-pw"});
    ASSERT_EQ(hidden.code, 0) << hidden.err;
    const std::string carrier = ReadText(output);
    ASSERT_EQ(carrier.size(), bitmap.size());
    EXPECT_EQ(carrier.substr(0, 68), bitmap.substr(0, 68));
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        ASSERT_EQ(carrier[i] | 1, bitmap[i] | 1) << "byte " << i;
    }
    EXPECT_EQ(RunTool(dir, {"reveal", output}, {}, {"VEILNOTE_PASSWORD=sixteen-bytes-pw"}).out,
              "sealed words\n");
    const Finished prefix =
        RunTool(dir, {"reveal", output}, {}, {"VEILNOTE_PASSWORD=sixteen-bytes-PW"});
    EXPECT_EQ(prefix.code, 1);
    EXPECT_EQ(prefix.err, "Invalid password try again\n");
}

TEST_F(EndToEndTest, OutputMayReplaceTheImage) {
    ASSERT_EQ(
        RunTool(dir, {"hide", image, image}, "in place", {"VEILNOTE_PASSWORD=sesame-open"}).code,
        0);
    EXPECT_EQ(ReadText(image).size(), bitmap.size());
    EXPECT_EQ(RunTool(dir, {"reveal", image}, {}, {"VEILNOTE_PASSWORD=sesame-o"}).out, "in place");
}

TEST_F(EndToEndTest, RefusedHideLeavesAnExistingOutputAlone) {
    WriteText(image, MakeBitmap(16, 16));  // 822 bytes: too small for the password record
    WriteText(output, "precious");
    const Finished small =
        RunTool(dir, {"hide", image, output, "--password-file", passwordFile}, "hi");
    EXPECT_EQ(small.code, 1);
    EXPECT_EQ(small.err,
              "Image is very small.\nThis image takes messages of up to 0 bytes; the message has 2 "
              "bytes.\nOperation aborted ..     \n");
    const Finished empty = RunTool(dir, {"hide", image, output, "--password-file", passwordFile});
    EXPECT_EQ(empty.code, 1);
    EXPECT_EQ(empty.err, "There is no text to curtain\n");

    EXPECT_EQ(ReadText(output), "precious");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"hidden.bmp", "image.bmp", "pw"}));
}

TEST_F(EndToEndTest, BadInputsExitOneAndCommandLineMistakesTwo) {
    const std::string huge = dir / "huge.bmp";
    WriteText(huge, "");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 31);  // sparse
    for (const auto& [path, complaint] : std::vector<std::pair<std::string, std::string>>{
             {dir / "missing.bmp",
              "cannot read " + dir / "missing.bmp" + ": No such file or directory\n"},
             {dir.Path(), dir.Path() + " is a directory\n"},
             {huge, huge + " is larger than 2 GiB - 1 bytes\n"}}) {
        const Finished finished = RunTool(dir, {"info", path});
        EXPECT_EQ(finished.code, 1);
        EXPECT_EQ(finished.err, complaint);
    }

    EXPECT_EQ(RunTool(dir, {"conceal", image}).code, 2);
    EXPECT_EQ(RunTool(dir, {"reveal", image, "--password", "Tr0ub4dor&3"}).code, 2);
    const Finished help = RunTool(dir, {"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: veilnote-cli", 0), 0U);
}

TEST_F(EndToEndTest, InputsThatNeverEndAreRefusedOrCutShort) {
    // Devices are refused where a file is expected, before any read.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"info", "/dev/zero"},
             {"hide", image, output, "--text-file", "/dev/zero", "--password-file", passwordFile},
             {"hide", image, output, "--password-file", "/dev/zero"}}) {
        const Finished refused = RunTool(dir, args, "message");
        EXPECT_EQ(refused.code, 1);
        EXPECT_EQ(refused.err, "/dev/zero is a device, not a file\n");
    }
    // Standard input stops at the zero byte that cuts the message.
    const Finished zeros =
        RunTool(dir, {"hide", image, output, "--password-file", passwordFile}, {}, {}, "/dev/zero");
    EXPECT_EQ(zeros.code, 1);
    EXPECT_EQ(zeros.err, "There is no text to curtain\n");

    // A pipe as --text-file too, though its writer never stops.
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
        ::alarm(60);
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        const std::string endless("piped\0and then some", 20);
        while (::write(fd, endless.data(), endless.size()) > 0) {
        }
        ::_exit(0);
    }
    const Finished piped =
        RunTool(dir, {"hide", image, output, "--text-file", fifo, "--password-file", passwordFile});
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ASSERT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(RunTool(dir, {"reveal", output, "--password-file", passwordFile}).out, "piped");
}

TEST_F(EndToEndTest, PasswordsThatCouldNeverWorkAreNotTaken) {
    // An empty variable counts as unset: with no terminal to ask, no password.
    const Finished empty = RunTool(dir, {"hide", image, output}, "hi", {"VEILNOTE_PASSWORD="});
    EXPECT_EQ(empty.code, 1);
    EXPECT_EQ(empty.err,
              "no password given: use --password-file PWFILE, set VEILNOTE_PASSWORD, or run on a "
              "terminal\n");
    // A zero byte would cut the stored password short of anything typed.
    WriteText(dir / "zero-pw", std::string("abc\0defgh\n", 10));
    const Finished zero =
        RunTool(dir, {"hide", image, output, "--password-file", dir / "zero-pw"}, "hi");
    EXPECT_EQ(zero.code, 1);
    EXPECT_EQ(zero.err, std::string(kPasswordHasZeroByte) + "\n");
    // An attached value, maybe the password, is not repeated back.
    const Finished attached = RunTool(dir, {"hide", image, output, "-psecret99"}, "hi");
    EXPECT_EQ(attached.code, 2);
    EXPECT_EQ(attached.err.find("secret99"), std::string::npos) << attached.err;
    const Finished first = RunTool(dir, {"-xsecret99"});
    EXPECT_EQ(first.code, 2);
    EXPECT_EQ(first.err.rfind("unknown option -x\n", 0), 0U) << first.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
