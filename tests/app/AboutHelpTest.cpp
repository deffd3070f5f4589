#include <QDir>
#include <QFile>
#include <QLabel>

#include "AboutDlg.h"
#include "AppFixture.h"
#include "Version.h"

namespace {
class AboutHelpTest : public AppFixture {
protected:
    std::string HelpPath() const { return m_app.m_strAppDir.Bytes() + "/res/Help.html"; }
};

QStringList LabelsOf(CDialog& dialog) {
    QStringList texts;
    for (const QLabel* label : dialog.GetSafeHwnd()->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

TEST_F(AboutHelpTest, ButtonAndSystemMenuOpenTheSameAboutBox) {
    for (const bool fromMenu : {false, true}) {
        SCOPED_TRACE(fromMenu ? "system menu" : "button");
        RunMainWindow([&](CVeilnoteDlg& dlg) {
            m_script.ExpectModalRun<CAboutDlg>([](CAboutDlg& about) {
                EXPECT_EQ(about.GetSafeHwnd()->windowTitle(), "About Veilnote");
                // The version line agrees with the program's version record.
                EXPECT_TRUE(LabelsOf(about).contains("Veilnote Version 1.0.0.4"));
                EXPECT_TRUE(
                    LabelsOf(about).contains(QString("Veilnote Version ") + version::kDotted));
                Click(about, IDOK);
            });
            if (fromMenu) {
                dlg.SendMessage(WM_SYSCOMMAND, IDM_ABOUTBOX);
            } else {
                Click(dlg, IDC_ABOUT);
            }
            EXPECT_TRUE(m_script.Done());
            EXPECT_FALSE(dlg.HasEnded()) << "the main window goes on";
        });
    }
}

TEST_F(AboutHelpTest, AboutBoxEndsWithEscapeAndCloseBoxToo) {
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        m_script.ExpectModalRun<CAboutDlg>(
            [](CAboutDlg& about) { PressKey(about, Qt::Key_Escape); });
        m_script.ExpectModalRun<CAboutDlg>([](CAboutDlg& about) { about.GetSafeHwnd()->close(); });
        Click(dlg, IDC_ABOUT);
        Click(dlg, IDC_ABOUT);
    });
}

TEST_F(AboutHelpTest, F1AndHelpButtonEachAskTheDesktopToOpenTheHelpPage) {
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        m_script.ExpectShellOpen(HelpPath());
        m_script.ExpectShellOpen(HelpPath());
        m_script.ExpectShellOpen(HelpPath());
        PressKey(dlg, Qt::Key_F1);
        Click(dlg, IDC_HELPBUTTON);
        Click(dlg, IDC_HELPBUTTON);
        EXPECT_FALSE(dlg.HasEnded());
    });
}

TEST(RealShell, MissingFileOpensNothingAndSaysNothing) {
    RealInteractions real;
    EXPECT_FALSE(real.ShellOpen("/nonexistent/res/Help.html"));
    EXPECT_FALSE(real.ShellOpen(QDir::tempPath().toStdString()));
}

TEST_F(AboutHelpTest, ShippedHelpPageIsBesideTheProgram) {
    QFile page(QString::fromStdString(HelpPath()));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Veilnote"));
}
}  // namespace
