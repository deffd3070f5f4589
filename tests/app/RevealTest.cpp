#include "CommandsFixture.h"
#include "PasswordDlg.h"

namespace {
class RevealTest : public CommandsFixture {};

TEST_F(RevealTest, ImageWithoutHiddenDataSaysSoAndAsksNoPassword) {
    // The length word reads as 0, or as -1 (all ones, which the format
    // itself passes over in silence): the user hears the same either way.
    Bytes allOnes = MakeBitmap(64, 64, 24);
    for (std::size_t i = 68; i <= 99; ++i)
        allOnes[i] |= 1;
    for (const Bytes& image : {WithEvenBytes(MakeBitmap(64, 64, 24), 68, 99), allOnes}) {
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
        Click(dlg, IDC_MESSAGEVIEW);
        SaveScreenshot(dlg.GetSafeHwnd(), "main-revealed");
    });
}
}  // namespace
