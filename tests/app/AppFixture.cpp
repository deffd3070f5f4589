#include "AppFixture.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include "OutsideControls.h"

AppFixture::AppFixture() {
    RegisterOutsideControls(m_app.Controls());
}

AppFixture::~AppFixture() {
    // No window of a test outlives it.
    static_cast<void>(QTest::qWaitFor(
        [] {
            return QApplication::topLevelWidgets().isEmpty() ||
                   std::none_of(QApplication::topLevelWidgets().begin(),
                                QApplication::topLevelWidgets().end(),
                                [](QWidget* w) { return w->isVisible(); });
        },
        3000));
}

void AppFixture::RunMainWindow(const std::function<void(CVeilnoteDlg&)>& drive) {
    m_script.ExpectModalRun<CVeilnoteDlg>([&](CVeilnoteDlg& dlg) {
        drive(dlg);
        if (!dlg.HasEnded())
            dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(m_app.InitInstance(), FALSE);
}

void SaveScreenshot(QWidget* widget, const QString& name) {
    const QString folder = QStringLiteral(VEILNOTE_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    widget->grab().save(folder + "/" + name + ".png", "PNG");
}
