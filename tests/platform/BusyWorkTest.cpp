#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <new>
#include <thread>

#include "BusyWork.h"

namespace {

class PaintCounter : public QWidget {
public:
    using QWidget::QWidget;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++paints; }
};

// A shown window with a button that counts its clicks and an area that
// counts its paints.
struct Window {
    Window() {
        widget.resize(300, 200);
        button->setGeometry(10, 10, 100, 30);
        area->setGeometry(10, 50, 280, 140);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }
    QWidget widget;
    QPushButton* button = new QPushButton("Go", &widget);
    PaintCounter* area = new PaintCounter(&widget);
    CWnd wnd{&widget};
    int clicks = 0;
};

// Holds the work until the UI thread lets it go, and gives up after a while so
// that a broken facility fails the test instead of hanging it.
bool WaitFor(const std::atomic<bool>& flag) {
    for (int k = 0; k < 2000 && !flag; ++k) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return flag;
}

TEST(BusyWork, TheWindowRepaintsAndTakesNoCommandWhileTheWorkRuns) {
    Window window;
    std::atomic<bool> release = false;
    bool sawStatus = false;
    bool sawBusyCursor = false;
    bool closed = true;
    int paintsBefore = 0;
    bool painted = false;
    QTimer::singleShot(0, [&] {
        const auto* status = window.widget.findChild<QLabel*>("busyStatus");
        sawStatus = status && status->isVisible() && status->text() == "Sealing...";
        sawBusyCursor = QApplication::overrideCursor() &&
                        QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        paintsBefore = window.area->paints;
        window.area->update();
        painted = QTest::qWaitFor([&] { return window.area->paints > paintsBefore; }, 5000);
        QTest::mouseClick(window.button, Qt::LeftButton);
        window.button->setFocus();
        QTest::keyClick(window.button, Qt::Key_Space);
        closed = window.widget.close();
        release = true;
    });
    const std::thread::id uiThread = std::this_thread::get_id();
    const std::thread::id workThread = RunWhileBusy(window.wnd, "Sealing...", [&] {
        EXPECT_TRUE(WaitFor(release));
        return std::this_thread::get_id();
    });

    EXPECT_NE(workThread, uiThread);
    EXPECT_TRUE(sawStatus);
    EXPECT_TRUE(sawBusyCursor);
    EXPECT_TRUE(painted) << "no paint event arrived while working";
    EXPECT_EQ(window.clicks, 0);
    EXPECT_FALSE(closed);

    // Afterwards everything is as it was.
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(window.widget.findChild<QLabel*>("busyStatus"), nullptr);
    EXPECT_TRUE(window.widget.isVisible());
    QTest::mouseClick(window.button, Qt::LeftButton);
    EXPECT_EQ(window.clicks, 1);
}

TEST(BusyWork, WhatTheWorkThrowsIsThrownOnTheUiThread) {
    Window window;
    EXPECT_THROW(RunWhileBusy(window.wnd, "Opening...", []() -> int { throw std::bad_alloc(); }),
                 std::bad_alloc);
    EXPECT_THROW(RunWhileBusy(window.wnd, "Opening...", [] { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    QTest::mouseClick(window.button, Qt::LeftButton);
    EXPECT_EQ(window.clicks, 1);
}

}  // namespace
