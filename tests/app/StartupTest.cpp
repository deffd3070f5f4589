#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QProcess>
#include <QTest>

#include "AppFixture.h"
#include "FakeControls.h"

namespace {
class StartupTest : public AppFixture {
protected:
    StartupTest() { RegisterRecordingControls(m_app.Controls(), m_calls); }

    std::string AppDir() const { return m_app.m_strAppDir.Bytes(); }

    ControlCalls m_calls;
};

TEST_F(StartupTest, AppDirIsTheFolderOfTheRunningExecutable) {
    const std::string module = GetModuleFileName().Bytes();
    EXPECT_EQ(AppDir(), module.substr(0, module.rfind('/')));
    EXPECT_EQ(AppDir().back() == '/', false);
}

TEST_F(StartupTest, HandsOverSplashThenSkinsEveryButtonInOrder) {
    RunMainWindow([](CVeilnoteDlg&) {});
    const std::vector<std::string> expected = {
        "splash 22 " + AppDir() + "/res/Splash.spl",
        "splash 19 0",
        "load " + AppDir() + "/res/Veilnote.skn",
        "apply window",
        "element 1021 buttontab1",
        "element 1022 buttontab2",
        "element 1024 HelpButton",
        "element 1005 Button1",
        "element 1010 Button2",
        "element 1012 Button3",
        "element 1011 Button4",
        "element 1023 Button5",
        "element 2 Button6",
    };
    EXPECT_EQ(m_calls.calls, expected);
}

TEST_F(StartupTest, StartsWithNoWorkAreaAndNothingToHideOrReveal) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        EXPECT_FALSE(IsShown(dlg, IDC_PICTURE));
        EXPECT_FALSE(IsShown(dlg, IDC_MESSAGE));
        EXPECT_TRUE(IsShown(dlg, IDC_OPENIMAGE));
        EXPECT_TRUE(IsShown(dlg, IDC_REVEAL));
        EXPECT_FALSE(IsShown(dlg, IDC_LOADTEXT));
        EXPECT_FALSE(IsShown(dlg, IDC_HIDE));
        EXPECT_FALSE(IsEnabled(dlg, IDC_REVEAL));
        EXPECT_FALSE(IsEnabled(dlg, IDC_HIDE));
        EXPECT_TRUE(IsEnabled(dlg, IDC_OPENIMAGE));
        // Not on the first tab stop, Exit, which Enter would press.
        EXPECT_EQ(dlg.GetSafeHwnd()->focusWidget(), Control(dlg, IDC_IMAGEVIEW));
        EXPECT_NE(dlg.m_hIcon, nullptr);
        EXPECT_EQ(dlg.GetIcon(TRUE), dlg.m_hIcon);
        EXPECT_EQ(dlg.GetIcon(FALSE), dlg.m_hIcon);
        EXPECT_EQ(dlg.GetSafeHwnd()->windowTitle(), "Veil Note");
        EXPECT_EQ(dlg.GetSafeHwnd()->size(), QSize(552, 447));
        EXPECT_FALSE(dlg.GetSafeHwnd()->windowFlags() & Qt::WindowMaximizeButtonHint);
    });
}

TEST_F(StartupTest, SkinFailureSaysSoOnceAndClosesTheWindowByItself) {
    struct Case {
        const char* name;
        HRESULT load, apply;
        bool offer;
        std::size_t callsBeforeFailure;
    };
    const Case cases[] = {
        {"load fails", E_FAIL, S_OK, true, 3},
        {"apply fails", S_OK, E_FAIL, true, 4},
        {"no skin interface", S_OK, S_OK, false, 2},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.name);
        m_calls = ControlCalls{{}, each.load, each.apply, each.offer};
        m_script.ExpectModalRun<CVeilnoteDlg>([](CVeilnoteDlg& dlg) {
            // Nothing to do: the window ends itself.
            EXPECT_TRUE(QTest::qWaitFor([&] { return dlg.HasEnded(); }, 2000));
            EXPECT_EQ(dlg.ModalResult(), IDCANCEL);
        });
        m_script.ExpectMessageBox("Could not load or apply the skin.");
        EXPECT_EQ(m_app.InitInstance(), FALSE);
        ASSERT_EQ(m_calls.calls.size(), each.callsBeforeFailure);
        EXPECT_EQ(m_calls.calls[0].rfind("splash 22", 0), 0u);
        EXPECT_EQ(m_calls.calls[1], "splash 19 0");
        EXPECT_TRUE(m_script.Done());
    }
}

TEST_F(StartupTest, IdokDoesNothingWhileEscapeCloseBoxAndExitEndTheProgram) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        // Enter presses the focused button, here the one of the message view.
        Control(dlg, IDC_MESSAGEVIEW)->setFocus();
        PressKey(dlg, Qt::Key_Return);
        EXPECT_TRUE(IsShown(dlg, IDC_MESSAGE));
        EXPECT_FALSE(dlg.HasEnded());
        dlg.SendCommand(IDOK);
        EXPECT_FALSE(dlg.HasEnded());
        PressKey(dlg, Qt::Key_Escape);
        EXPECT_TRUE(dlg.HasEnded());
        EXPECT_EQ(dlg.ModalResult(), IDCANCEL);
    });
    RunMainWindow([](CVeilnoteDlg& dlg) {
        dlg.GetSafeHwnd()->close();
        EXPECT_TRUE(dlg.HasEnded());
        EXPECT_EQ(dlg.ModalResult(), IDCANCEL);
    });
    RunMainWindow([](CVeilnoteDlg& dlg) {
        Click(dlg, IDCANCEL);
        EXPECT_TRUE(dlg.HasEnded());
    });
}

TEST_F(StartupTest, SystemMenuEndsWithAboutAndOpensWithAltSpace) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        const CMenu* menu = dlg.GetSystemMenu(FALSE);
        ASSERT_NE(menu, nullptr);
        const auto& items = menu->Items();
        ASSERT_GE(items.size(), 2u);
        EXPECT_EQ(items[items.size() - 2].flags, MF_SEPARATOR);
        EXPECT_EQ(items.back().id, 16u);
        EXPECT_EQ(items.back().text, "&About Veilnote...");

        QWidget* window = dlg.GetSafeHwnd();
        PressKey(dlg, Qt::Key_Space, Qt::AltModifier);
        auto* popup = window->findChild<QMenu*>("systemMenu");
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->actions().back()->text(), "&About Veilnote...");
        popup->close();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->findChild<QMenu*>("systemMenu"); }));

        // A right click opens it on the window's background, not on a control.
        const auto rightClick = [&](QPoint at) {
            QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
            QApplication::sendEvent(window, &event);
            return window->findChild<QMenu*>("systemMenu");
        };
        EXPECT_EQ(rightClick(Control(dlg, IDC_ABOUT)->geometry().center()), nullptr);
        QMenu* fromClick = rightClick(QPoint(300, 20));
        ASSERT_NE(fromClick, nullptr);
        fromClick->close();
    });
}

TEST_F(StartupTest, SecondCopyStartsLikeTheFirst) {
    const HANDLE first = CreateMutex(nullptr, FALSE, "BrimvaleVeilnote");
    RunMainWindow([](CVeilnoteDlg& dlg) { EXPECT_FALSE(dlg.HasEnded()); });
    EXPECT_GE(first, 0);
}
struct ProgramRun {
    int exitCode;
    QString out, err;
};

// Runs the built program as a desktop would start it, with only `environment`
// (no display unless it names one).
ProgramRun RunProgram(const QStringList& arguments, const QStringList& environment) {
    QProcess program;
    QProcessEnvironment clean;
    for (const QString& variable : environment)
        clean.insert(variable.section('=', 0, 0), variable.section('=', 1));
    program.setProcessEnvironment(clean);
    program.start(QStringLiteral(VEILNOTE_WINDOW), arguments);
    EXPECT_TRUE(program.waitForFinished(-1));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

TEST(StartArguments, OwnArgumentsAreCheckedFirstThenWhetherThereIsADisplay) {
    const QString usage = "Usage: veilnote [FILE]   (veilnote --help for more)\n";
    const QString noDisplay =
        "veilnote: no display to open the window on; veilnote-cli works without one\n";
    struct Case {
        QStringList arguments;
        QStringList environment;
        int exitCode;
        QString err;
    };
    const Case cases[] = {
        {{"--bogus"}, {}, 2, "veilnote: unknown option --bogus\n" + usage},
        {{"--bogus"}, {"DISPLAY=:99"}, 2, "veilnote: unknown option --bogus\n" + usage},
        {{"-platform", "offscreen", "-x"}, {}, 2, "veilnote: unknown option -x\n" + usage},
        {{"-reverse=1"}, {}, 2, "veilnote: unknown option -reverse=1\n" + usage},
        {{"-platform=xcb"}, {}, 2, "veilnote: unknown option -platform=xcb\n" + usage},
        {{"-style"}, {}, 2, "veilnote: option -style needs a value\n" + usage},
        {{"a.bmp", "b.bmp"}, {}, 2, "veilnote: only one FILE can be opened\n" + usage},
        {{"--", "a.bmp", "-b.bmp"}, {}, 2, "veilnote: only one FILE can be opened\n" + usage},
        {{}, {}, 1, noDisplay},
        {{"a.bmp"}, {"DISPLAY="}, 1, noDisplay},
        {{"-style", "Fusion", "--reverse", "--", "-a.bmp"}, {}, 1, noDisplay},
        {{"-style=Fusion", "a.bmp"}, {}, 1, noDisplay},
        // Asked of the program itself, answered without a display.
        {{"-style", "Fusion", "--version"}, {}, 0, ""},
        {{"a.bmp", "--help"}, {}, 0, ""},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.arguments.join(' ').toStdString());
        const ProgramRun run = RunProgram(each.arguments, each.environment);
        EXPECT_EQ(run.exitCode, each.exitCode);
        EXPECT_EQ(run.err, each.err);
        EXPECT_EQ(run.out.isEmpty(), each.exitCode != 0);
    }
}
}  // namespace
