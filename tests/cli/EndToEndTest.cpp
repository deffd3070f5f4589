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
    const Finished hidden = RunTool({"hide", image, output, "--text-file", dir / "message.txt",
                                     "--password-file", passwordFile},
                                    {.asProcess = true});
    ASSERT_EQ(hidden.code, 0) << hidden.err;

    const std::string carrier = ReadText(output);
    ASSERT_EQ(carrier.size(), bitmap.size());
    EXPECT_NE(carrier, bitmap);
    EXPECT_EQ(carrier.substr(0, 68), bitmap.substr(0, 68));
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        ASSERT_EQ(carrier[i] | 1, bitmap[i] | 1) << "byte " << i;
    }

    const Finished revealed =
        RunTool({"reveal", output, "--password-file", passwordFile}, {.asProcess = true});
    EXPECT_EQ(revealed.code, 0);
    EXPECT_EQ(revealed.out, "Meet at the north gate.\nBring the map.") << "no newline added";

    const Finished wrong = RunTool({"reveal", output}, {.password = "Tr0ub4Do", .asProcess = true});
    EXPECT_EQ(wrong.code, 3);
    EXPECT_EQ(wrong.err, ErrorLine("Invalid password try again"));
    EXPECT_EQ(dir.Names(),
              (std::vector<std::string>{"hidden.bmp", "image.bmp", "message.txt", "pw"}));
}

TEST_F(EndToEndTest, SealedHideTakesALongPassphraseAtModerateLimitsAndChangesOnlyLowBits) {
    const std::string passphrase = "lantern meadow copper violin quietly run";
    ASSERT_EQ(passphrase.size(), 40U);
    const Finished hidden =
        RunTool({"hide", "--seal", image, output},
                {.input = "sealed words\n", .password = passphrase, .asProcess = true});
    ASSERT_EQ(hidden.code, 0) << hidden.err;
    EXPECT_EQ(hidden.err, "") << "a strong passphrase draws no warning";
    const std::string carrier = ReadText(output);
    ASSERT_EQ(carrier.size(), bitmap.size());
    EXPECT_EQ(carrier.substr(0, 68), bitmap.substr(0, 68));
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        ASSERT_EQ(carrier[i] | 1, bitmap[i] | 1) << "byte " << i;
    }
    EXPECT_TRUE(RunTool({"info", output}, {.asProcess = true})
                    .out.ends_with("message: sealed\nseal limits: moderate\n"));
    EXPECT_EQ(RunTool({"reveal", output}, {.password = passphrase, .asProcess = true}).out,
              "sealed words\n");
    const Finished prefix =
        RunTool({"reveal", output}, {.password = passphrase.substr(0, 16), .asProcess = true});
    EXPECT_EQ(prefix.code, 3);
    EXPECT_EQ(prefix.err, ErrorLine("Invalid password try again"));
}

TEST_F(EndToEndTest, OutputMayReplaceTheImage) {
    ASSERT_EQ(RunTool({"hide", image, image},
                      {.input = "in place", .password = "sesame-open", .asProcess = true})
                  .code,
              0);
    EXPECT_EQ(ReadText(image).size(), bitmap.size());
    EXPECT_EQ(RunTool({"reveal", image}, {.password = "sesame-o", .asProcess = true}).out,
              "in place");
}

TEST_F(EndToEndTest, RefusedHideLeavesAnExistingOutputAlone) {
    WriteText(image, MakeBitmap(16, 16));  // 822 bytes: too small for the password record
    WriteText(output, "precious");
    const Finished small = RunTool({"hide", image, output, "--password-file", passwordFile},
                                   {.input = "hi", .asProcess = true});
    EXPECT_EQ(small.code, 1);
    EXPECT_EQ(small.err, ErrorLine("Image is very small. The message has 2 bytes; this picture "
                                   "takes at most 0."));
    const Finished empty =
        RunTool({"hide", image, output, "--password-file", passwordFile}, {.asProcess = true});
    EXPECT_EQ(empty.code, 1);
    EXPECT_EQ(empty.err, ErrorLine("There is no text to curtain"));
    // A write past the file size limit (ulimit -f) fails like any other.
    WriteText(image, bitmap);
    const Finished limited =
        RunTool({"hide", image, output, "--password-file", passwordFile},
                {.input = "hi", .asProcess = true, .fileSizeLimit = rlimit{4096, 4096}});
    EXPECT_EQ(limited.code, 1);
    EXPECT_EQ(limited.err, ErrorLine("cannot write " + output + ": File too large"));

    EXPECT_EQ(ReadText(output), "precious");
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"hidden.bmp", "image.bmp", "pw"}));
}

TEST_F(EndToEndTest, BadInputsExitOneAndCommandLineMistakesTwo) {
    const std::string huge = dir / "huge.bmp";
    WriteText(huge, "");
    std::filesystem::resize_file(huge, std::uintmax_t{1} << 31);  // sparse
    for (const auto& [path, complaint] : std::vector<std::pair<std::string, std::string>>{
             {dir / "missing.bmp",
              ErrorLine("cannot read " + dir / "missing.bmp" + ": No such file or directory")},
             {dir.Path(), ErrorLine(dir.Path() + " is a directory")},
             {huge, ErrorLine(huge + " is larger than 2 GiB - 1 bytes")}}) {
        const Finished finished = RunTool({"info", path}, {.asProcess = true});
        EXPECT_EQ(finished.code, 1);
        EXPECT_EQ(finished.err, complaint);
    }

    EXPECT_EQ(RunTool({"conceal", image}, {.asProcess = true}).code, 2);
    EXPECT_EQ(RunTool({"reveal", image, "--password", "Tr0ub4dor&3"}, {.asProcess = true}).code, 2);
    const Finished help = RunTool({"--help"}, {.asProcess = true});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: veilnote-cli", 0), 0U);
}

TEST_F(EndToEndTest, InputsThatNeverEndAreRefusedOrCutShort) {
    // Devices are refused where a file is expected, before any read.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"info", "/dev/zero"},
             {"hide", image, output, "--text-file", "/dev/zero", "--password-file", passwordFile},
             {"hide", image, output, "--password-file", "/dev/zero"}}) {
        const Finished refused = RunTool(args, {.input = "message", .asProcess = true});
        EXPECT_EQ(refused.code, 1);
        EXPECT_EQ(refused.err, ErrorLine("/dev/zero is a device, not a file"));
    }
    // Standard input is read no further than the longest message that fits.
    const Finished zeros = RunTool({"hide", image, output, "--password-file", passwordFile},
                                   {.asProcess = true, .inputPath = "/dev/zero"});
    EXPECT_EQ(zeros.code, 1);
    EXPECT_EQ(zeros.err, ErrorLine(ZeroByteRefusal(0)));
    const Finished sealedZeros =
        RunTool({"hide", image, output, "--seal", "--password-file", passwordFile},
                {.asProcess = true, .inputPath = "/dev/zero"});
    EXPECT_EQ(sealedZeros.code, 1);
    EXPECT_TRUE(
        sealedZeros.err.starts_with("veilnote-cli: Image is very small. The message has more than"))
        << sealedZeros.err;

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
        RunTool({"hide", image, output, "--text-file", fifo, "--password-file", passwordFile},
                {.asProcess = true});
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    EXPECT_EQ(piped.code, 1);
    EXPECT_EQ(piped.err, ErrorLine(ZeroByteRefusal(5)));
}

TEST_F(EndToEndTest, PasswordsThatCouldNeverWorkAreNotTaken) {
    // An empty variable counts as unset: with no terminal to ask, no password.
    const Finished empty =
        RunTool({"hide", image, output}, {.input = "hi", .password = "", .asProcess = true});
    EXPECT_EQ(empty.code, 1);
    EXPECT_EQ(empty.err,
              ErrorLine("no password given: use --password-file PWFILE, set VEILNOTE_PASSWORD, "
                        "or run on a terminal"));
    // A zero byte would cut the stored password short of anything typed.
    WriteText(dir / "zero-pw", std::string("abc\0defgh\n", 10));
    const Finished zero = RunTool({"hide", image, output, "--password-file", dir / "zero-pw"},
                                  {.input = "hi", .asProcess = true});
    EXPECT_EQ(zero.code, 1);
    EXPECT_EQ(zero.err, ErrorLine(kPasswordHasZeroByte));
    // An attached value, maybe the password, is not repeated back.
    const Finished attached =
        RunTool({"hide", image, output, "-psecret99"}, {.input = "hi", .asProcess = true});
    EXPECT_EQ(attached.code, 2);
    EXPECT_EQ(attached.err.find("secret99"), std::string::npos) << attached.err;
    const Finished first = RunTool({"-xsecret99"}, {.asProcess = true});
    EXPECT_EQ(first.code, 2);
    EXPECT_EQ(first.err.rfind(ErrorLine("unknown option -x") + "Usage: veilnote-cli", 0), 0U)
        << first.err;
    EXPECT_FALSE(std::filesystem::exists(output));
}

}  // namespace
