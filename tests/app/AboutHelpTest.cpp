#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTest>

#include "AboutDlg.h"
#include "AppFixture.h"
#include "BitmapFiles.h"
#include "DialogBuilder.h"
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
                // Every text starts on one column, and none is indented by a tab.
                for (const QLabel* label : about.GetSafeHwnd()->findChildren<QLabel*>()) {
                    if (label->text().isEmpty())
                        continue;  // the icon
                    EXPECT_EQ(label->x(), DialogUnitsToPixels(40, 0, 0, 0).x())
                        << label->text().toStdString();
                    EXPECT_FALSE(label->text().contains('\t'));
                }
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

TEST_F(AboutHelpTest, HelpThatCannotOpenSaysWhereThePageIs) {
    using Outcome = ScriptedInteractions::ShellOutcome;
    const std::string told =
        "The help page could not be opened. You can find it here:\n" + HelpPath();
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        m_script.ExpectShellOpen(HelpPath(), Outcome::NotStarted).ExpectMessageBox(told);
        PressKey(dlg, Qt::Key_F1);
        EXPECT_TRUE(m_script.Done());
        m_script.ExpectShellOpen(HelpPath(), Outcome::FailedLater).ExpectMessageBox(told);
        Click(dlg, IDC_HELPBUTTON);
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_script.Done(); }, 3000));
        EXPECT_FALSE(dlg.HasEnded());
    });
}

// The desktop's opener as found on the PATH: here a script of ours.
class RealShell : public ::testing::Test {
protected:
    RealShell() : m_path(qgetenv("PATH")) { qputenv("PATH", m_bin.path().toLocal8Bit()); }
    ~RealShell() override { qputenv("PATH", m_path); }

    void InstallOpener(const char* script) {
        QFile opener(m_bin.filePath("xdg-open"));
        ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
        opener.write(script);
        opener.close();
        opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    // Whether ShellOpen started the opener, and whether it then failed.
    std::pair<bool, bool> Open(const std::string& path) {
        bool failed = false;
        const bool started = m_real.ShellOpen(path, [&failed] { failed = true; });
        EXPECT_TRUE(QTest::qWaitFor([] { return Openers() == 0; }, 5000));
        return {started, failed};
    }
    static qsizetype Openers() {
        return QCoreApplication::instance()->findChildren<QProcess*>().size();
    }

    RealInteractions m_real;
    QTemporaryDir m_bin;
    QTemporaryDir m_files;
    QByteArray m_path;
};

TEST_F(RealShell, OpenerThatFailsOrIsMissingIsToldAndOneThatWorksIsNot) {
    const std::string page = WriteFile(m_files, "page.html", std::string("<p>help</p>"));
    EXPECT_EQ(Open(page), std::make_pair(false, false)) << "no opener on the PATH";
    InstallOpener("#!/bin/sh\nexit 3\n");
    EXPECT_EQ(Open(page), std::make_pair(true, true));
    // The opener gets the file's path; it succeeds when the file is there.
    InstallOpener("#!/bin/sh\ntest -f \"$1\"\n");
    EXPECT_EQ(Open(page), std::make_pair(true, false));
    // A file that is not there reaches no opener at all.
    EXPECT_EQ(Open("/nonexistent/res/Help.html"), std::make_pair(false, false));
    EXPECT_EQ(Open(m_files.path().toStdString()), std::make_pair(false, false));
}

TEST_F(AboutHelpTest, ShippedHelpPageIsBesideTheProgram) {
    QFile page(QString::fromStdString(HelpPath()));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_TRUE(page.readAll().contains("Veilnote"));
}
}  // namespace
