#include <QApplication>

#include "AboutDlg.h"
#include "AppFixture.h"

namespace {
using ScreenshotTest = AppFixture;

// Pictures of the real windows for people to look at; the test fails only
// when a window cannot be grabbed.
TEST_F(ScreenshotTest, MainWindowInBothViewsAndTheAboutBox) {
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        QWidget* window = dlg.GetSafeHwnd();
        SaveScreenshot(window, "main-image-view");
        Click(dlg, IDC_MESSAGEVIEW);
        Type(dlg, IDC_MESSAGE, "Meet me by the old mill at seven.\nBring the map.");
        SaveScreenshot(window, "main-message-view");
        EXPECT_FALSE(window->grab().isNull());

        m_script.ExpectModalRun<CAboutDlg>([](CAboutDlg& about) {
            SaveScreenshot(about.GetSafeHwnd(), "about");
            Click(about, IDOK);
        });
        Click(dlg, IDC_ABOUT);
    });
}
}  // namespace
