// One whole Hide and Reveal through Qt's own dialogs, without the script: a
// timer finds the modal window in front and answers it, as a user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "AppFixture.h"
#include "BitmapFiles.h"
#include "CarrierRecords.h"
#include "CommandsFixture.h"
#include "OutsideControls.h"
#include "PasswordDlg.h"
#include "VeilnoteApp.h"
#include "VeilnoteDlg.h"
#include "resource.h"

namespace {
constexpr int kTickMs = 20;
constexpr qint64 kDeadlineMs = 30000;

// Clicks from the next turn of whichever event loop runs then, so that a
// modal run the click starts does not block the timer that made it.
void ClickLater(QWidget* window, int id) {
    auto* button = qobject_cast<QPushButton*>(FindControl(window, id));
    ASSERT_NE(button, nullptr) << "no button " << id;
    QMetaObject::invokeMethod(button, &QPushButton::click, Qt::QueuedConnection);
}

// Types `keys` as a user would, without clicking into a field first: each
// key goes to whatever has the focus then. A '\t' is the Tab key, a '\n' Enter.
void TypeAtFocus(const QString& keys) {
    for (const QChar key : keys) {
        // The window in front takes the keys, at its focus.
        QWidget* front = QApplication::activeModalWidget();
        QWidget* focus = front ? front->focusWidget() : nullptr;
        ASSERT_NE(focus, nullptr) << "nothing has the focus";
        if (key == '\t')
            QTest::keyClick(focus, Qt::Key_Tab);
        else if (key == '\n')
            QTest::keyClick(focus, Qt::Key_Return);
        else
            QTest::keyClicks(focus, QString(key));
    }
}

// Presses a key from the next turn of the event loop, for keys that start a
// modal run of their own.
void TypeAtFocusLater(const QString& keys) {
    QTimer::singleShot(0, [keys] { TypeAtFocus(keys); });
}

// Answers file dialogs as a user would: waits until the dialog has listed its
// folder (its list may otherwise select the proposed file after the answer is
// typed), then types the full path into the file name box and accepts.
class FileDialogAnswerer {
public:
    bool Answer(QWidget* modal, const std::string& path) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        if (!files)
            return false;
        if (files != m_dialog) {
            m_dialog = files;
            m_listed = false;
            m_shown.start();
            if (auto* model = files->findChild<QFileSystemModel*>()) {
                QObject::connect(model, &QFileSystemModel::directoryLoaded, files,
                                 [this] { m_listed = true; });
            }
        }
        // A folder listed before may not be listed again: give it a moment.
        if (!m_listed && m_shown.elapsed() < 1000)
            return false;
        auto* name = files->findChild<QLineEdit*>("fileNameEdit");
        EXPECT_NE(name, nullptr);
        if (!name)
            return false;
        name->setText(QString::fromStdString(path));
        QMetaObject::invokeMethod(files, "accept", Qt::DirectConnection);
        m_dialog = nullptr;
        return true;
    }

private:
    QPointer<QFileDialog> m_dialog;
    bool m_listed = false;
    QElapsedTimer m_shown;
};

class RealDialogsTest : public ::testing::Test {
protected:
    RealDialogsTest() { RegisterOutsideControls(m_app.Controls()); }
    ~RealDialogsTest() override {
        EXPECT_TRUE(QTest::qWaitFor(
            [] {
                const auto windows = QApplication::topLevelWidgets();
                return std::none_of(windows.begin(), windows.end(),
                                    [](QWidget* w) { return w->isVisible(); });
            },
            3000));
    }

    // Starts the program and, every tick, gives `tick` the step reached, the
    // window in front and the main window, until the program ends; `tick`
    // advances the step once it has done it. Never hangs: past the deadline
    // it fails, naming the step and the window in front, and closes windows
    // until the program ends. Returns the step reached.
    int RunProgram(const std::function<void(int& step, QWidget* modal, CVeilnoteDlg& main)>& tick) {
        int step = 0;
        QElapsedTimer clock;
        clock.start();
        QTimer timer;
        timer.setInterval(kTickMs);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* main = static_cast<CVeilnoteDlg*>(m_app.m_pMainWnd);
            if (clock.elapsed() > kDeadlineMs) {
                ADD_FAILURE() << "stuck at step " << step << " with "
                              << (modal ? modal->metaObject()->className() : "nothing")
                              << " in front";
                step = -1;
                if (modal)
                    modal->close();
                return;
            }
            if (modal && main && step >= 0)
                tick(step, modal, *main);
        });
        timer.start();
        EXPECT_EQ(m_app.InitInstance(), FALSE);
        timer.stop();
        return step;
    }

    CVeilnoteApp m_app;  // with the platform's own interactions
    QTemporaryDir m_folder;
};

TEST_F(RealDialogsTest, HideSaveOpenAndRevealThroughTheRealDialogs) {
    const std::string image = WriteFile(m_folder, "image.bmp", MakeBitmap(64, 64, 24));
    const std::string saved = m_folder.filePath("saved.bmp").toStdString();
    const QString message = "Through the real dialogs";
    const QString password = "realpass1";

    FileDialogAnswerer files;
    QString revealed;
    const int reached = RunProgram([&](int& step, QWidget* modal, CVeilnoteDlg& main) {
        QWidget* mainWindow = main.GetSafeHwnd();
        const bool mainInFront = modal == mainWindow;
        const bool passwordInFront = !mainInFront && !qobject_cast<QFileDialog*>(modal) &&
                                     modal->windowTitle() == "Password";
        switch (step) {
            case 0:  // Open image
                if (!mainInFront)
                    return;
                ClickLater(mainWindow, IDC_OPENIMAGE);
                break;
            case 1:
                if (!files.Answer(modal, image))
                    return;
                break;
            case 2:  // to the message view, type there at once, and Hide
                if (!mainInFront || main.m_nImageLength == 0)
                    return;
                QTest::mouseClick(FindControl(mainWindow, IDC_MESSAGEVIEW), Qt::LeftButton);
                TypeAtFocus(message);
                ClickLater(mainWindow, IDC_HIDE);
                break;
            case 3:  // typed at once, Tab to Confirm, Enter for OK
                if (!passwordInFront)
                    return;
                TypeAtFocusLater(password + '\t' + password + '\n');
                break;
            case 4:
                if (!files.Answer(modal, saved))
                    return;
                break;
            case 5:  // open what was saved
                if (!mainInFront || !std::filesystem::exists(saved))
                    return;
                qobject_cast<QPlainTextEdit*>(FindControl(mainWindow, IDC_MESSAGE))->clear();
                qobject_cast<QPushButton*>(FindControl(mainWindow, IDC_IMAGEVIEW))->click();
                ClickLater(mainWindow, IDC_OPENIMAGE);
                break;
            case 6:
                if (!files.Answer(modal, saved))
                    return;
                break;
            case 7:  // Reveal
                if (!mainInFront || main.m_strSavePath != saved.c_str())
                    return;
                ClickLater(mainWindow, IDC_REVEAL);
                break;
            case 8:
                if (!passwordInFront)
                    return;
                EXPECT_FALSE(FindControl(modal, IDC_CONFIRM)->isVisible());
                TypeAtFocusLater(password + '\n');
                break;
            case 9:  // read the message and end the program
                if (!mainInFront)
                    return;
                revealed = qobject_cast<QPlainTextEdit*>(FindControl(mainWindow, IDC_MESSAGE))
                               ->toPlainText();
                ClickLater(mainWindow, IDCANCEL);
                break;
            default:
                return;
        }
        ++step;
    });

    EXPECT_EQ(reached, 10);
    EXPECT_EQ(revealed, message);
    const Bytes written = ReadFile(saved);
    EXPECT_EQ(written.size(), ReadFile(image).size());
    std::string savedMessage;
    {
        SilentReporter quiet;
        savedMessage = ReadCurtainedString(
            written.data(), static_cast<std::int32_t>(written.size()), kMessageRecordStart, quiet);
    }
    EXPECT_EQ(savedMessage, message.toStdString());
}
TEST_F(RealDialogsTest, FileNamedAtStartThenEnterAsksForThePasswordTypedStraightIn) {
    const std::string carrier = WriteFile(
        m_folder, "carrier.bmp",
        WithHiddenMessage(MakeBitmap(64, 64, 24), "lanterns9", "Meet by the mill at seven."));
    m_app.m_arguments = {carrier};

    QString revealed;
    const int reached = RunProgram([&](int& step, QWidget* modal, CVeilnoteDlg& main) {
        QWidget* mainWindow = main.GetSafeHwnd();
        QWidget* reveal = FindControl(mainWindow, IDC_REVEAL);
        switch (step) {
            case 0:  // the file has opened: Enter, and nothing else
                if (modal != mainWindow || !reveal->isEnabled())
                    return;
                EXPECT_EQ(mainWindow->focusWidget(), reveal);
                TypeAtFocusLater("\n");
                break;
            case 1:
                if (modal->windowTitle() != "Password")
                    return;
                TypeAtFocusLater("lanterns9\n");
                break;
            case 2:
                if (modal != mainWindow)
                    return;
                // Reveal is gone with the image view: the focus waits on the
                // Text tab, not on the next tab stop.
                EXPECT_EQ(mainWindow->focusWidget(), FindControl(mainWindow, IDC_MESSAGEVIEW));
                revealed = qobject_cast<QPlainTextEdit*>(FindControl(mainWindow, IDC_MESSAGE))
                               ->toPlainText();
                ClickLater(mainWindow, IDCANCEL);
                break;
            default:
                return;
        }
        ++step;
    });
    EXPECT_EQ(reached, 3);
    EXPECT_EQ(revealed, "Meet by the mill at seven.");
}

TEST_F(RealDialogsTest, EscapeWithATypedMessageAsksInTheRealBoxAndNoKeepsTheWindow) {
    const QString quitLoses =
        "The message you typed has not been hidden in a saved image. Quit and lose it?";
    int questions = 0;
    const int reached = RunProgram([&](int& step, QWidget* modal, CVeilnoteDlg& main) {
        QWidget* mainWindow = main.GetSafeHwnd();
        auto* box = qobject_cast<QMessageBox*>(modal);
        const auto pressEscapeLater = [mainWindow] {
            QMetaObject::invokeMethod(
                mainWindow,
                [mainWindow] {
                    QWidget* focus = mainWindow->focusWidget();
                    QTest::keyClick(focus ? focus : mainWindow, Qt::Key_Escape);
                },
                Qt::QueuedConnection);
        };
        switch (step) {
            case 0: {  // type a message, then Escape
                if (modal != mainWindow)
                    return;
                qobject_cast<QPushButton*>(FindControl(mainWindow, IDC_MESSAGEVIEW))->click();
                QWidget* edit = FindControl(mainWindow, IDC_MESSAGE);
                edit->setFocus();
                QTest::keyClicks(edit, "Typed by hand");
                pressEscapeLater();
                break;
            }
            case 1:  // the question: No, by its default button
            case 3:  // asked again: Yes
                if (!box)
                    return;
                ++questions;
                EXPECT_EQ(box->text(), quitLoses);
                EXPECT_EQ(box->windowTitle(), "Veilnote");
                EXPECT_EQ(box->icon(), QMessageBox::Question);
                ASSERT_NE(box->defaultButton(), nullptr);
                EXPECT_EQ(box->defaultButton()->text(), "&No");
                if (step == 1) {
                    SaveScreenshot(box, "question-quit");
                    QTest::keyClick(box, Qt::Key_Return);
                } else {
                    for (QAbstractButton* button : box->buttons()) {
                        if (button->text() == "&Yes")
                            QMetaObject::invokeMethod(button, &QAbstractButton::click,
                                                      Qt::QueuedConnection);
                    }
                }
                break;
            case 2:  // still there, with the message: Escape once more
                if (modal != mainWindow)
                    return;
                EXPECT_EQ(qobject_cast<QPlainTextEdit*>(FindControl(mainWindow, IDC_MESSAGE))
                              ->toPlainText(),
                          "Typed by hand");
                pressEscapeLater();
                break;
            default:
                return;
        }
        ++step;
    });
    EXPECT_EQ(reached, 4);
    EXPECT_EQ(questions, 2);
}
}  // namespace
