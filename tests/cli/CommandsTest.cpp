#include "Commands.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "../engine/TestBitmaps.h"
#include "../support/OldRecordOracle.h"
#include "CarrierRecords.h"
#include "CliTestSupport.h"
#include "Hiding.h"
#include "PasswordRules.h"
#include "SealedMessage.h"
#include "StreamReporter.h"

namespace {

// Answers prompts from a script; an exhausted script is the end of input.
class ScriptedPrompt : public PasswordPrompt {
public:
    explicit ScriptedPrompt(std::vector<std::string> answers) : m_answers(std::move(answers)) {}
    std::optional<SecretText> Ask(const std::string& prompt) override {
        prompts.push_back(prompt);
        if (m_next == m_answers.size()) {
            return std::nullopt;
        }
        return SecretText(m_answers[m_next++]);
    }
    std::vector<std::string> prompts;

private:
    std::vector<std::string> m_answers;
    std::size_t m_next = 0;
};

constexpr const char* kPassword = "correct horse";
// Strong enough that sealing with it draws no warning.
constexpr const char* kStrongPassphrase = "correct horse 16";

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override { WriteText(image, MakeBitmap(40, 30)); }  // 3654 bytes

    TempDir dir;
    const std::string image = dir / "image.bmp";
    const std::string output = dir / "out.bmp";
};

TEST_F(CommandsTest, HiddenMessageComesBackExactlyUnderItsPassword) {
    const std::string message = "line one\n\tline two \xe9";
    // Unsealed, a message is text: a zero byte is refused, not cut at.
    const Finished binary =
        RunTool({"hide", image, output},
                {.input = message + '\0' + "after the zero", .password = kPassword});
    EXPECT_EQ(binary.code, 1);
    EXPECT_EQ(binary.err, ErrorLine(ZeroByteRefusal(message.size())));
    EXPECT_FALSE(std::filesystem::exists(output));
    ASSERT_EQ(RunTool({"hide", image, output}, {.input = message, .password = kPassword}).code, 0);

    EXPECT_EQ(RunTool({"reveal", output}, {.password = kPassword}).out, message);
    EXPECT_EQ(RunTool({"reveal", output}, {.password = "correct battery"}).out, message)
        << "8 bytes count";
    EXPECT_EQ(RunTool({"reveal", output}, {.password = "correct horse", .outIsTerminal = true}).out,
              "line one\n\tline two \\xE9\n")
        << "a terminal is shown what is not UTF-8";
    const Finished refused = RunTool({"reveal", output}, {.password = "Correct horse"});
    EXPECT_EQ(refused.code, 3);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, ErrorLine("Invalid password try again"));
}

TEST_F(CommandsTest, PasswordRecordHoldsTheSharedStoredForm) {
    const std::string password = "p\xc3\xa4ssw\xc3\xb6rd";  // "pässwörd", 10 bytes
    WriteText(dir / "pw", password + "\r\nsecond line\n");
    ASSERT_EQ(RunTool({"hide", image, output, "--password-file", dir / "pw"},
                      {.input = "hi", .password = "ignored"})
                  .code,
              0);

    const std::string carrier = ReadText(output);
    SilentReporter silent;
    EXPECT_EQ(ReadCurtainedString(reinterpret_cast<const std::uint8_t*>(carrier.data()),
                                  static_cast<std::int32_t>(carrier.size()), kPasswordRecordStart,
                                  silent),
              StoredForm(password));
    EXPECT_EQ(RunTool({"reveal", output, "--password-file=" + dir / "pw"}).out, "hi");
}

TEST_F(CommandsTest, ChoosingRulesApplyToThePasswordFilesFirstLine) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", kPasswordTooShort},
        {"seven77\n", kPasswordTooShort},
        {"sixteen-bytes-pw\r\r\n", kPasswordTooLong},
        {"sixteen-bytes-pw\r\n", ""},
        {"eight888\nmore", ""},
    };
    for (const auto& [content, complaint] : cases) {
        WriteText(dir / "pw", content);
        const Finished outcome = RunTool({"hide", image, output, "--password-file", dir / "pw"},
                                         {.input = "text", .password = kPassword});
        EXPECT_EQ(outcome.code, complaint.empty() ? 0 : 1) << content;
        EXPECT_EQ(outcome.err, complaint.empty() ? "" : ErrorLine(complaint)) << content;
        EXPECT_EQ(std::filesystem::exists(output), complaint.empty()) << content;
        std::filesystem::remove(output);
    }
}

TEST_F(CommandsTest, TerminalAsksAgainAfterARefusedEntry) {
    ScriptedPrompt choose({"password1", "password2", "password1", "password1"});
    ASSERT_EQ(RunTool({"hide", image, output}, {.input = "text", .prompt = &choose}).err,
              ErrorLine(kPasswordMismatch));
    EXPECT_EQ(choose.prompts, (std::vector<std::string>{
                                  "Password: ", "Confirm Pw: ", "Password: ", "Confirm Pw: "}));
    // A length the rules refuse is said before anyone confirms it.
    for (const std::string seal : {"", "--seal"}) {
        ScriptedPrompt tooShort({"pass", kStrongPassphrase, kStrongPassphrase});
        std::vector<std::string> args{"hide", image, dir / "other.bmp"};
        if (!seal.empty()) {
            args.push_back(seal);
        }
        EXPECT_EQ(RunTool(args, {.input = "text", .prompt = &tooShort}).err,
                  ErrorLine(kPasswordTooShort))
            << seal;
        EXPECT_EQ(tooShort.prompts,
                  (std::vector<std::string>{"Password: ", "Password: ", "Confirm Pw: "}))
            << seal;
    }

    ScriptedPrompt verify({"wrong pw", "password"});
    EXPECT_EQ(RunTool({"reveal", output}, {.prompt = &verify}).out, "text");
    EXPECT_EQ(verify.prompts.size(), 2U);

    ScriptedPrompt giveUp({"a", "b", "c", "d"});
    EXPECT_EQ(RunTool({"reveal", output}, {.prompt = &giveUp}).code, 3);
    EXPECT_EQ(giveUp.prompts.size(), 3U);
    EXPECT_EQ(RunTool({"reveal", output}).code, 1) << "no one to ask";
}

TEST_F(CommandsTest, EmptyMessageIsRefusedWithoutAskingForAPassword) {
    for (const auto& [input, refusal] :
         {std::pair{std::string(), std::string("There is no text to curtain")},
          std::pair{std::string("\0text", 5), ZeroByteRefusal(0)}}) {
        ScriptedPrompt prompt({});
        const Finished outcome =
            RunTool({"hide", image, output}, {.input = input, .prompt = &prompt});
        EXPECT_EQ(outcome.code, 1);
        EXPECT_EQ(outcome.err, ErrorLine(refusal));
        EXPECT_TRUE(prompt.prompts.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(CommandsTest, AMessageFitsExactlyTheCapacityInfoShowsSealedOrNot) {
    const std::string info = RunTool({"info", image}, {.password = kPassword}).out;
    EXPECT_EQ(info,
              "size: 3654 bytes\ncapacity: 328 message bytes\npicture: bitmap, 40-byte header, 24 "
              "bits per pixel, 40x30, "
              "uncompressed\nsafe capacity: 328 message bytes\nsealed capacity: 167 message "
              "bytes (167 safely)\npassword record: none\nmessage: none\n");
    const struct {
        std::string label;
        std::vector<std::string> flags;
        std::string password;
    } rows[] = {{"\ncapacity: ", {}, kPassword},
                {"sealed capacity: ", {"--seal"}, kStrongPassphrase}};
    for (const auto& row : rows) {
        const std::size_t at = info.find(row.label);
        ASSERT_NE(at, std::string::npos) << info;
        const std::size_t capacity = std::stoul(info.substr(at + row.label.size()));
        std::vector<std::string> hide = {"hide", image, output};
        hide.insert(hide.end(), row.flags.begin(), row.flags.end());

        std::filesystem::remove(output);
        const Finished tooLong =
            RunTool(hide, {.input = std::string(capacity + 1, 'm'), .password = row.password});
        EXPECT_EQ(tooLong.code, 1);
        EXPECT_EQ(
            tooLong.err,
            ErrorLine("Image is very small. The message has " + std::to_string(capacity + 1) +
                      " bytes; this picture takes at most " + std::to_string(capacity) + "."));
        EXPECT_FALSE(std::filesystem::exists(output));

        ASSERT_EQ(
            RunTool(hide, {.input = std::string(capacity, 'm'), .password = row.password}).code, 0);
        EXPECT_EQ(RunTool({"reveal", output}, {.password = row.password}).out,
                  std::string(capacity, 'm'));
        EXPECT_NE(RunTool({"info", output}, {.password = row.password})
                      .out.find("password record: present"),
                  std::string::npos);
    }
}

TEST_F(CommandsTest, RevealTellsWhyNothingCameBack) {
    ASSERT_EQ(RunTool({"hide", image, output}, {.input = "  \n", .password = kPassword}).code, 0);
    const Finished blank = RunTool({"reveal", output}, {.password = kPassword});
    EXPECT_EQ(blank.code, 0) << "white space only is a message, read back empty";
    EXPECT_EQ(blank.out, "");

    // Without records, whatever the low bits say (a length word of 0, of -1,
    // or one past the end), the same message once.
    for (int fill = -1; fill <= 0xFF; ++fill) {
        WriteText(image, MakeBitmap(40, 30, fill));
        const Finished none = RunTool({"reveal", image}, {.password = kPassword});
        EXPECT_EQ(none.code, 1) << fill;
        EXPECT_EQ(none.err, ErrorLine(kNoCurtainedData)) << fill;
    }
}

// A 1-bit bitmap, black and white, whose pixels any Hide visibly changes.
std::string MakeOneBitBitmap(std::uint32_t width, std::uint32_t height) {
    std::string bmp = MakeBitmap(width, height);
    const std::uint32_t stride = (width + 31) / 32 * 4;
    const std::uint32_t offset = 14 + 40 + 8;
    std::string file = bmp.substr(0, 54);
    const auto put = [&file](std::size_t at, std::uint32_t value) {
        for (std::size_t i = 0; i < 4; ++i) {
            file[at + i] = static_cast<char>(value >> (8 * i));
        }
    };
    put(2, offset + stride * height), put(10, offset), put(34, stride * height);
    file[28] = 1;  // bits per pixel
    file += std::string("\0\0\0\0\xff\xff\xff\0", 8);
    for (std::uint32_t i = 0; i < stride * height; ++i) {
        file.push_back(static_cast<char>(i * 97 + i / 5));
    }
    return file;
}

TEST_F(CommandsTest, HideRefusesWhatWouldVisiblyChangeThePictureUnlessToldOtherwise) {
    WriteText(image, MakeOneBitBitmap(200, 60));
    const std::string refusal = ErrorLine(
        "This is a 1-bit bitmap: hiding a message will visibly change some of its pixels. No "
        "message can be hidden in it safely. Use --force to hide anyway, or --convert to hide in "
        "a 24-bit copy.");
    ScriptedPrompt prompt({});
    const Finished refused =
        RunTool({"hide", image, output}, {.input = "secret", .prompt = &prompt});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, refusal);
    EXPECT_TRUE(prompt.prompts.empty()) << "refused before any password is asked";
    EXPECT_FALSE(std::filesystem::exists(output));
    EXPECT_EQ(
        RunTool({"info", image}, {.password = kPassword})
            .out.substr(RunTool({"info", image}, {.password = kPassword}).out.find("picture:")),
        "picture: bitmap, 40-byte header, 1 bits per pixel, 200x60, uncompressed\n"
        "safe capacity: 0 message bytes\nsealed capacity: 0 message bytes (0 safely)\n"
        "password record: none\nmessage: none\n");

    // --force writes exactly what the records give the carrier.
    ASSERT_EQ(
        RunTool({"hide", image, output, "--force"}, {.input = "secret", .password = kPassword})
            .code,
        0);
    std::string expected = ReadText(image);
    SilentReporter silent;
    auto* bytes = reinterpret_cast<std::uint8_t*>(expected.data());
    const auto length = static_cast<std::int32_t>(expected.size());
    ASSERT_EQ(
        CurtainString(bytes, length, kPasswordRecordStart, StoredForm("correct horse"), silent), 1);
    ASSERT_EQ(CurtainString(bytes, length, kMessageRecordStart, "secret", silent), 1);
    EXPECT_EQ(ReadText(output), expected);

    // --convert hides in an ordinary 24-bit copy, which takes it safely.
    ASSERT_EQ(
        RunTool({"hide", image, output, "--convert"}, {.input = "secret", .password = kPassword})
            .code,
        0);
    const std::string info = RunTool({"info", output}, {.password = kPassword}).out;
    EXPECT_NE(info.find("picture: bitmap, 40-byte header, 24 bits per pixel, 200x60, uncompressed\n"
                        "safe capacity: 4376 message bytes"),
              std::string::npos)
        << info;
    EXPECT_EQ(RunTool({"reveal", output}, {.password = kPassword}).out, "secret");
    EXPECT_EQ(RunTool({"hide", image, output, "--force", "--convert"},
                      {.input = "secret", .password = kPassword})
                  .code,
              2);

    // Why it cannot be converted depends on whether the tool has a decoder.
    WriteText(image, "\x89PNG\r\n\x1a\n" + std::string(3000, 'p'));
    const std::string unreadable =
        RunTool({"hide", image, output}, {.input = "secret", .password = kPassword}).err;
    EXPECT_TRUE(
        unreadable.starts_with("veilnote-cli: This PNG picture is not a bitmap: it cannot "
                               "carry a message itself, and it cannot be converted: "))
        << unreadable;
    EXPECT_TRUE(unreadable.ends_with(
        ". Hiding a message in its bytes may break it. Use --force to hide anyway.\n"))
        << unreadable;
    WriteText(image, "no picture at all" + std::string(3000, 'p'));
    EXPECT_EQ(
        RunTool({"hide", image, output, "--convert"}, {.input = "secret", .password = kPassword})
            .err,
        ErrorLine("This file is not a bitmap: hiding a message may break it. No message can be "
                  "hidden in it safely. It cannot be converted: it is not a bitmap."));
}

TEST(PicturesWithoutDecoderTest, AToolBuiltWithoutTheWindowTakesBitmapsOnlyAndNamesTheKind) {
#ifdef VEILNOTE_PICTURE_MODULE
    GTEST_SKIP() << "this tool decodes pictures; its tests are the picture carrier tests";
#else
    const TempDir dir;
    WriteText(dir / "photo.jpg", "\xFF\xD8\xFF\xE0" + std::string(3000, 'j'));
    EXPECT_EQ(RunTool({"hide", dir / "photo.jpg", dir / "out.bmp", "--convert"},
                      {.input = "secret", .password = kPassword})
                  .err,
              ErrorLine("The picture cannot be converted: this veilnote-cli was built without "
                        "picture decoding and takes only bitmaps (.bmp); this is a JPEG picture."));
    EXPECT_NE(RunTool({"info", dir / "photo.jpg"}).out.find("picture: JPEG (this veilnote-cli"),
              std::string::npos);
#endif
}

std::string MessageRecord(const std::string& carrier) {
    SilentReporter silent;
    return ReadCurtainedString(reinterpret_cast<const std::uint8_t*>(carrier.data()),
                               static_cast<std::int32_t>(carrier.size()), kMessageRecordStart,
                               silent);
}

TEST_F(CommandsTest, SealedMessageOpensOnlyWithTheWholePassword) {
    const std::string message = "line one\n\tline two \xe9  \n";
    const std::string whole = kStrongPassphrase;
    ASSERT_EQ(
        RunTool({"hide", image, output, "--seal"}, {.input = message, .password = whole}).code, 0);
    // This test program seals at the least limits; info names them.
    EXPECT_TRUE(RunTool({"info", output})
                    .out.ends_with("message: sealed\nseal limits: " +
                                   DescribeSealLimits(LeastSealLimits()) + "\n"));

    EXPECT_EQ(RunTool({"reveal", output}, {.password = whole}).out, message)
        << "trailing white space kept";
    EXPECT_EQ(RunTool({"reveal", output}, {.password = whole, .outIsTerminal = true}).out,
              "line one\n\tline two \\xE9  \n")
        << "a terminal gets one line end, not a second";
    const Finished sameStart = RunTool({"reveal", output}, {.password = "correct horse 17"});
    EXPECT_EQ(sameStart.code, 3);
    EXPECT_EQ(sameStart.out, "");
    EXPECT_EQ(sameStart.err, ErrorLine(kPasswordInvalid));
    ScriptedPrompt prompt({"correct horse", whole});
    EXPECT_EQ(RunTool({"reveal", output}, {.prompt = &prompt}).out, message);
    EXPECT_EQ(prompt.prompts.size(), 2U);

    // The sentinel's control byte is refused in a chosen password.
    const Finished reserved = RunTool({"hide", image, output, "--seal"}, {.input = "x",
                                                                          .password = "abc\x01"
                                                                                      "defgh"});
    EXPECT_EQ(reserved.code, 1);
    EXPECT_EQ(reserved.err, ErrorLine(kPasswordReservedByte));

    // A flipped bit in the message record never gives text.
    std::string tampered = ReadText(output);
    tampered[static_cast<std::size_t>(kMessageRecordStart) + 8 * 40] ^= 1;
    WriteText(output, tampered);
    const Finished broken = RunTool({"reveal", output}, {.password = whole});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.out, "");
}

TEST_F(CommandsTest, SealingTakesLongPassphrasesAndWarnsOfWeakOnes) {
    std::string words;
    while (words.size() < 129) {
        words += "lantern meadow copper violin quietly run ";
    }
    struct Row {
        std::string password;
        bool seal;
        std::string err;  // empty: hidden without a word
    };
    const std::vector<Row> rows = {
        {"correct horse 17", false, ""},
        {"correct horse 17!", false, ErrorLine(kPasswordTooLong)},
        {"correct horse 17!", true, ""},
        {words.substr(0, 128), true, ""},
        {words.substr(0, 129), true, ErrorLine(kSealedPassphraseTooLong)},
        {"password1234", false, ""},
        {"password1234", true,
         ErrorLine("warning: Weak: less than a second for a thousand computers to guess this "
                   "passphrase. Four or more random words make a strong one.")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.password + (row.seal ? " sealed" : " plain"));
        std::vector<std::string> args{"hide", image, output};
        if (row.seal) {
            args.push_back("--seal");
        }
        const Finished outcome = RunTool(args, {.input = "text", .password = row.password});
        EXPECT_EQ(outcome.err, row.err);
        const bool refused = row.err.find("warning: ") == std::string::npos && !row.err.empty();
        EXPECT_EQ(outcome.code, refused ? 1 : 0) << "a weak passphrase only draws a warning";
        EXPECT_EQ(std::filesystem::exists(output), !refused);
        if (!refused) {
            EXPECT_EQ(RunTool({"reveal", output}, {.password = row.password}).out, "text");
        }
        std::filesystem::remove(output);
    }
}

TEST_F(CommandsTest, SealedLookingMessageHiddenUnsealedStaysPlain) {
    ASSERT_EQ(
        RunTool({"hide", image, output, "--seal"}, {.input = "inner words", .password = kPassword})
            .code,
        0);
    const std::string sealedText = MessageRecord(ReadText(output));
    ASSERT_TRUE(sealedText.starts_with(kSealMarker));

    ASSERT_EQ(RunTool({"hide", image, output}, {.input = sealedText, .password = kPassword}).code,
              0);
    EXPECT_TRUE(
        RunTool({"info", output}, {.password = kPassword}).out.ends_with("message: plain\n"));
    EXPECT_EQ(RunTool({"reveal", output}, {.password = kPassword}).out, sealedText);
    EXPECT_EQ(RunTool({"reveal", output}, {.password = "correct battery"}).out, sealedText)
        << "8 bytes count";
}

TEST_F(CommandsTest, UsageErrorsExitTwoAndHelpExitsZero) {
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"frob"},
        {"hide", image},
        {"hide", image, output, "--text-file"},
        {"hide", image, output, "--password", "secret99"},
        {"reveal", image, "--password=secret99"},
        {"reveal", image, "--password-file", "a", "--password-file", "b"},
        {"hide", image, output, "--seal=yes"},
        {"hide", image, output, "--seal", "--seal"},
        {"reveal", image, "--seal"},
    };
    for (const auto& args : wrong) {
        const Finished outcome = RunTool(args, {.password = kPassword});
        EXPECT_EQ(outcome.code, 2) << ::testing::PrintToString(args);
        EXPECT_NE(outcome.err.find("Usage: veilnote-cli"), std::string::npos);
    }
    for (const std::string command : {"hide", "reveal", "info"}) {
        const Finished outcome = RunTool({command, "--help"}, {.password = kPassword});
        EXPECT_EQ(outcome.code, 0);
        EXPECT_EQ(outcome.out.rfind("Usage: veilnote-cli " + command, 0), 0U) << outcome.out;
    }
}

}  // namespace

namespace {

TEST_F(CommandsTest, AnyBytesComeBackExactlySealedAndUnsealedTextHoldsNoZeroByte) {
    WriteText(image, MakeBitmap(200, 100));
    std::mt19937 rng(2026);
    for (const std::size_t size : {1u, 7u, 100u, 1000u}) {
        std::string bytes(size, '\0');
        for (char& byte : bytes) {
            byte = static_cast<char>(rng() % 4 == 0 ? ' ' : rng());  // blanks, zeros and all
        }
        bytes.back() = ' ';
        ASSERT_EQ(
            RunTool({"hide", image, output, "--seal"}, {.input = bytes, .password = kPassword})
                .code,
            0);
        EXPECT_EQ(RunTool({"reveal", output}, {.password = kPassword}).out, bytes) << size;

        const std::size_t zero = bytes.find('\0');
        const Finished plain =
            RunTool({"hide", image, output}, {.input = bytes, .password = kPassword});
        if (zero != std::string::npos) {
            EXPECT_EQ(plain.err, ErrorLine(ZeroByteRefusal(zero))) << size;
        } else {
            EXPECT_EQ(plain.code, 0) << size;
        }
    }
}

// A Hide over an earlier, longer one leaves nothing of the earlier message
// that deciphers, plain or sealed; a picture that cannot take the wipe keeps
// it, and the tool says so before any password is asked.
TEST_F(CommandsTest, AShorterHideLeavesNoneOfAnEarlierMessageReadable) {
    std::mt19937 rng(3);
    std::string earlier(1080, ' ');
    for (char& letter : earlier) {
        letter = static_cast<char>('a' + rng() % 26);
    }
    WriteText(image, MakeBitmap(80, 48));
    ASSERT_EQ(RunTool({"hide", image, output}, {.input = earlier, .password = kPassword}).code, 0);
    ASSERT_GT(ReadableOldBlocks(ReadText(output), earlier, 8).size(), 100U);

    const std::string again = dir / "again.bmp";
    for (const auto& [seal, password] :
         {std::pair{"", kPassword}, std::pair{"--seal", kStrongPassphrase}}) {
        std::vector<std::string> args{"hide", output, again};
        if (*seal != '\0') {
            args.emplace_back(seal);
        }
        const Finished hidden = RunTool(args, {.input = "short", .password = password});
        ASSERT_EQ(hidden.code, 0) << hidden.err;
        EXPECT_EQ(hidden.err.find("earlier"), std::string::npos) << hidden.err;
        EXPECT_EQ(ReadableOldBlocks(ReadText(again), earlier, 0), std::vector<std::size_t>{})
            << seal;
        EXPECT_EQ(RunTool({"reveal", again}, {.password = password}).out, "short");
    }

    TestBitmap oneBit = Shape(1, 640, 240);
    oneBit.palette = Palette(2, false, rng);
    oneBit.pixels = RandomBytes(PixelBytes(640, 1, 240), rng);
    const Bytes picture = WriteBitmap(oneBit);
    WriteText(image, std::string(picture.begin(), picture.end()));
    ASSERT_EQ(
        RunTool({"hide", image, output, "--force"}, {.input = earlier, .password = kPassword}).code,
        0);
    const Finished kept =
        RunTool({"hide", output, again, "--force"}, {.input = "short", .password = kPassword});
    ASSERT_EQ(kept.code, 0) << kept.err;
    EXPECT_EQ(kept.err, ErrorLine(WipeShortfall(1080, 1072)));
    const std::string before = ReadText(output), after = ReadText(again);
    const auto untouched = static_cast<std::size_t>(HideSpan(8).end);
    EXPECT_EQ(after.substr(untouched), before.substr(untouched));
}

}  // namespace
