#include "CarrierRecords.h"
#include "CommandsFixture.h"
#include "PasswordDlg.h"
#include "SealedMessage.h"

namespace {
constexpr const char* kNoMessage = "Image does not contain curtained data ..";
constexpr const char* kReplaceTyped =
    "The message you typed has not been hidden in a saved image. Replace it with the revealed "
    "message?";

// `bytes` with the length word of the record at `start` set to `value`.
Bytes WithLengthWord(Bytes bytes, std::size_t start, std::uint32_t value) {
    for (std::size_t k = 0; k < 32; ++k) {
        std::uint8_t& byte = bytes[start - 32 + k];
        byte = static_cast<std::uint8_t>((byte & ~1u) | ((value >> k) & 1u));
    }
    return bytes;
}

// `carrier` with the sealed sentinel for a password and `message` as its
// message record.
Bytes WithSentinelAnd(Bytes carrier, const std::string& message) {
    const auto length = static_cast<std::int32_t>(carrier.size());
    SilentReporter quiet;
    EXPECT_EQ(
        CurtainString(carrier.data(), length, kPasswordRecordStart, SealedStoredForm(), quiet), 1);
    EXPECT_EQ(CurtainString(carrier.data(), length, kMessageRecordStart, message, quiet), 1);
    return carrier;
}

// `carrier` with a password record of blanks, which reads as empty.
Bytes WithBlankPasswordRecord(Bytes carrier) {
    SilentReporter quiet;
    EXPECT_EQ(CurtainString(carrier.data(), static_cast<std::int32_t>(carrier.size()),
                            kPasswordRecordStart, "        ", quiet),
              1);
    return carrier;
}

class RevealTest : public CommandsFixture {};

TEST_F(RevealTest, ImageWithoutHiddenDataSaysSoAndAsksNoPassword) {
    // The length word reads as 0, or as -1 (all ones, which the format
    // itself passes over in silence): the user hears the same either way.
    // So with the sealed sentinel but no well-formed box, marked or not: no
    // entry could ever match the sentinel.
    Bytes allOnes = MakeBitmap(64, 64, 24);
    for (std::size_t i = 68; i <= 99; ++i)
        allOnes[i] |= 1;
    for (const Bytes& image :
         {WithEvenBytes(MakeBitmap(64, 64, 24), 68, 99), allOnes,
          WithSentinelAnd(MakeBitmap(64, 64, 24), std::string(kSealMarker) + "no box here"),
          WithSentinelAnd(MakeBitmap(64, 64, 24), "plain words")}) {
        const std::string path = Write("plain.bmp", image);
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            Open(dlg, path);
            TypeMessage(dlg, "untouched");
            m_script.ExpectMessageBox("Image does not contain curtained data ..");
            ClickReveal(dlg);
            EXPECT_TRUE(m_script.Done());
            EXPECT_EQ(MessageShown(dlg), "untouched");
            EXPECT_EQ(Carrier(dlg), image);
        });
    }
}

TEST_F(RevealTest, WrongPasswordsLeaveTheMessageUntouchedUntilTheRightOne) {
    const std::string path =
        Write("hidden.bmp", WithHiddenMessage(MakeBitmap(64, 64, 24), "rightpw1", "the message"));
    RunMainWindow([&](CVeilnoteDlg& main) {
        Open(main, path);
        TypeMessage(main, "draft");
        const std::string member = main.m_strMessage.Bytes();
        m_script.ExpectModalRun<CPasswordDlg>([&](CPasswordDlg& dlg) {
            EXPECT_FALSE(IsShown(dlg, IDC_CONFIRM));
            for (const QString wrong : {"wrongpw1", "Rightpw1", "rightpw"}) {
                SCOPED_TRACE(wrong.toStdString());
                Type(dlg, IDC_PASSWORD, wrong);
                m_script.ExpectMessageBox("Invalid password try again");
                Click(dlg, IDOK);
                EXPECT_TRUE(m_script.Done());
                EXPECT_FALSE(dlg.HasEnded());
                EXPECT_EQ(TextOf(dlg, IDC_PASSWORD), "");
                EXPECT_EQ(MessageShown(main), "draft");
                EXPECT_EQ(main.m_strMessage.Bytes(), member);
            }
            Type(dlg, IDC_PASSWORD, "rightpw1 and more");
            m_script.ExpectQuestion(kReplaceTyped, {"&Yes", "&No"}, "&No", "&Yes");
            Click(dlg, IDOK);
        });
        ClickReveal(main);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(MessageShown(main), "the message");
    });
}

TEST_F(RevealTest, CancelledPasswordChangesNothing) {
    const Bytes image = WithHiddenMessage(MakeBitmap(64, 64, 24), "rightpw1", "the message");
    const std::string path = Write("hidden.bmp", image);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "draft");
        m_script.ExpectModalRun<CPasswordDlg>([](CPasswordDlg& password) {
            Type(password, IDC_PASSWORD, "rightpw1");
            PressKey(password, Qt::Key_Escape);
        });
        ClickReveal(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(MessageShown(dlg), "draft");
        EXPECT_EQ(Carrier(dlg), image);
    });
}

TEST_F(RevealTest, CarrierMadeByTheCommandLineToolRevealsInTheWindow) {
    const std::string image = Write("image.bmp", MakeBitmap(64, 64, 24));
    const std::string made = PathOf("made.bmp");
    const std::string text =
        WriteFile(m_folder, "message.txt", std::string("Made on the command line."));
    const std::string passwordFile = WriteFile(m_folder, "pw.txt", std::string("toolpass99\n"));
    std::string out;
    ASSERT_EQ(RunCli({"hide", QString::fromStdString(image), QString::fromStdString(made),
                      "--text-file", QString::fromStdString(text), "--password-file",
                      QString::fromStdString(passwordFile)},
                     out),
              0);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, made);
        ExpectPasswordGiven("toolpass");
        ClickReveal(dlg);
        EXPECT_EQ(MessageShown(dlg), "Made on the command line.");
        EXPECT_TRUE(IsShown(dlg, IDC_MESSAGE)) << "the message view shows what was revealed";
        EXPECT_FALSE(IsShown(dlg, IDC_REVEAL));
        Click(dlg, IDC_MESSAGEVIEW);
        SaveScreenshot(dlg.GetSafeHwnd(), "main-revealed");
    });
}
TEST_F(RevealTest, PasswordRecordThatCannotBeReadSaysSoOnce) {
    const Bytes bitmap = MakeBitmap(64, 64, 24);
    const struct {
        const char* name;
        Bytes image;
    } cases[] = {
        // An all-white picture: every length bit set, a negative length.
        {"negative length", WithLengthWord(bitmap, 100, 0xFFFFFFFFu)},
        {"record beyond the carrier", WithLengthWord(bitmap, 100, 2000)},
        {"length of no whole block", WithLengthWord(bitmap, 100, 12)},
        {"password of blanks", WithBlankPasswordRecord(bitmap)},
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        const std::string path = Write("plain.bmp", each.image);
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            Open(dlg, path);
            TypeMessage(dlg, "untouched");
            m_script.ExpectMessageBox(kNoMessage);
            ClickReveal(dlg);
            EXPECT_TRUE(m_script.Done());
            EXPECT_EQ(MessageShown(dlg), "untouched");
        });
    }
}

TEST_F(RevealTest, MessageRecordThatCannotBeReadSaysSoAndKeepsTheText) {
    const Bytes hidden = WithHiddenMessage(MakeBitmap(64, 64, 24), "rightpw1", "the message");
    for (const std::uint32_t length : {0xFFFFFFFFu, 2000u, 0u, 12u}) {
        SCOPED_TRACE(length);
        const std::string path = Write("damaged.bmp", WithLengthWord(hidden, 320, length));
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            Open(dlg, path);
            TypeMessage(dlg, "draft");
            ExpectPasswordGiven("rightpw1");
            m_script.ExpectMessageBox(kNoMessage);
            ClickReveal(dlg);
            EXPECT_TRUE(m_script.Done());
            EXPECT_EQ(MessageShown(dlg), "draft");
        });
    }
}

TEST_F(RevealTest, ReplacingATypedMessageAsksButALoadedOrRevealedOneDoesNot) {
    const std::string path =
        Write("hidden.bmp", WithHiddenMessage(MakeBitmap(64, 64, 24), "rightpw1", "revealed"));
    const std::string text = WriteFile(m_folder, "note.txt", std::string("loaded"));
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "typed");
        ExpectPasswordGiven("rightpw1");
        m_script.ExpectQuestion(kReplaceTyped, {"&Yes", "&No"}, "&No", "&No");
        ClickReveal(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(MessageShown(dlg), "typed");

        // Text from a file, or from an image, is not the user's to lose.
        m_script.ExpectOpenFile(text);
        m_script.ExpectQuestion(kReplaceWithLoadedText, {"&Yes", "&No"}, "&No", "&Yes");
        Click(dlg, IDC_LOADTEXT);
        ExpectPasswordGiven("rightpw1");
        ClickReveal(dlg);
        EXPECT_TRUE(m_script.Done());
        EXPECT_EQ(MessageShown(dlg), "revealed");
        ExpectPasswordGiven("rightpw1");
        ClickReveal(dlg);
        EXPECT_TRUE(m_script.Done());
    });
}
}  // namespace
