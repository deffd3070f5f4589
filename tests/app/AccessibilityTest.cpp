#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QTest>

#include "AboutDlg.h"
#include "AppFixture.h"
#include "PasswordDlg.h"

namespace {
using AccessibilityTest = AppFixture;

struct SpokenButton {
    int id;
    const char* name;
    QAccessible::Role role = QAccessible::Button;
};

TEST_F(AccessibilityTest, ScreenReadersHearEachSkinnedButtonAndTheWindow) {
    RunMainWindow([](CVeilnoteDlg& dlg) {
        // The names are the words the skin draws on the buttons.
        const SpokenButton buttons[] = {
            {IDC_OPENIMAGE, "Open image"},
            {IDC_LOADTEXT, "Load text"},
            {IDC_REVEAL, "Reveal"},
            {IDC_HIDE, "Hide"},
            {IDC_ABOUT, "About"},
            {IDCANCEL, "Exit"},
            {IDC_IMAGEVIEW, "Image", QAccessible::PageTab},
            {IDC_MESSAGEVIEW, "Text", QAccessible::PageTab},
            {IDC_HELPBUTTON, "Help"},
        };
        for (const SpokenButton& button : buttons) {
            QWidget* control = Control(dlg, button.id);
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(accessible, nullptr) << button.name;
            EXPECT_EQ(accessible->role(), button.role) << button.name;
            EXPECT_EQ(accessible->text(QAccessible::Name), button.name);
            EXPECT_FALSE(control->toolTip().isEmpty()) << button.name;
            EXPECT_EQ(accessible->text(QAccessible::Description), control->toolTip())
                << button.name;
        }

        // The window is heard as the title its art shows, with the tagline.
        QWidget* window = dlg.GetSafeHwnd();
        EXPECT_EQ(Spoken(window, QAccessible::Name), "Veilnote");
        EXPECT_EQ(Spoken(window, QAccessible::Description),
                  "Private notes, hidden inside pictures");
        // The splash badge is a tab stop, so it says what it is: art, by name.
        EXPECT_EQ(Spoken(Control(dlg, IDC_SPLASH), QAccessible::Name), "Veilnote badge");
        EXPECT_EQ(QAccessible::queryAccessibleInterface(Control(dlg, IDC_SPLASH))->role(),
                  QAccessible::Graphic);
        // A page tab still switches its page when a screen reader presses it.
        QAccessibleInterface* textTab =
            QAccessible::queryAccessibleInterface(Control(dlg, IDC_MESSAGEVIEW));
        ASSERT_NE(textTab->actionInterface(), nullptr);
        textTab->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(IsShown(dlg, IDC_MESSAGE));
    });
}

// Pixels of the control's area, with a margin for rings drawn round it,
// that change plainly between the control with and without the focus.
int PlainlyChangedPixels(QWidget* window, QWidget* control) {
    const QRect area = control->geometry().adjusted(-3, -3, 3, 3);
    const QImage focused = window->grab(area).toImage();
    control->clearFocus();
    const QImage unfocused = window->grab(area).toImage();
    control->setFocus(Qt::TabFocusReason);
    constexpr int kPlainChange = 96;  // of 255, in the colour channel that changes most
    int changed = 0;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            const QColor p = focused.pixelColor(x, y);
            const QColor q = unfocused.pixelColor(x, y);
            const int change =
                std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                          std::abs(p.blue() - q.blue())});
            changed += change >= kPlainChange ? 1 : 0;
        }
    }
    return changed;
}

// Tabs once round the window's tab stops, from the focus it opened with, and
// checks that a ring at least half as long as the control's outline shows
// plainly on each one. Gives the names of the stops it visited.
QStringList ExpectFocusShownRound(QWidget* window) {
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    QStringList visited;
    QWidget* first = window->focusWidget();
    EXPECT_NE(first, nullptr);
    for (QWidget* focused = first; focused && visited.size() < 20;) {
        visited << focused->objectName();
        const int outline = focused->width() + focused->height();
        EXPECT_GE(PlainlyChangedPixels(window, focused), outline)
            << "the focus barely shows on control " << focused->objectName().toStdString();
        QTest::keyClick(focused, Qt::Key_Tab);
        focused = window->focusWidget();
        if (focused == first)
            break;
    }
    return visited;
}

TEST_F(AccessibilityTest, FocusShowsPlainlyOnEveryTabStopOfEveryWindow) {
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        QWidget* window = dlg.GetSafeHwnd();
        // As after opening an image: Reveal and Hide are tab stops too.
        Control(dlg, IDC_REVEAL)->setEnabled(true);
        Control(dlg, IDC_HIDE)->setEnabled(true);
        EXPECT_EQ(ExpectFocusShownRound(window),
                  QStringList({"1021", "1022", "1023", "1024", "2", "1005", "1012", "1020"}));
        Control(dlg, IDC_HELPBUTTON)->setFocus(Qt::TabFocusReason);
        SaveScreenshot(window, "focus-on-help");

        Click(dlg, IDC_MESSAGEVIEW);
        Control(dlg, IDCANCEL)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(ExpectFocusShownRound(window), QStringList({"2", "1003", "1010", "1011", "1020",
                                                              "1021", "1022", "1023", "1024"}));
        Control(dlg, IDC_SPLASH)->setFocus(Qt::TabFocusReason);
        SaveScreenshot(window, "focus-on-badge");

        // The About box opens with the focus on OK, and must show it there.
        m_script.ExpectModalRun<CAboutDlg>([](CAboutDlg& about) {
            EXPECT_EQ(ExpectFocusShownRound(about.GetSafeHwnd()), QStringList({"1"}));
            Click(about, IDOK);
        });
        Click(dlg, IDC_ABOUT);

        m_script.ExpectModalRun<CPasswordDlg>([](CPasswordDlg& password) {
            EXPECT_EQ(ExpectFocusShownRound(password.GetSafeHwnd()),
                      QStringList({"1014", "1013", "1026", "1025", "1"}));
            SaveScreenshot(password.GetSafeHwnd(), "focus-on-password");
            Click(password, IDC_PASSWORD_CANCEL);
        });
        CPasswordDlg choose(&dlg);
        choose.m_bChooseMode = 1;
        choose.DoModal();
    });
}
}  // namespace
