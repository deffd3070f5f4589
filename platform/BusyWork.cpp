#include "BusyWork.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <memory>
#include <thread>

#include "TextEncoding.h"

namespace {

bool IsUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// While it lives, the window and everything in it take no input and cannot be
// closed. Disabling the window would do the first, but greys every control for
// the moment the work takes, and lets a close through.
class InputBlocker : public QObject {
public:
    explicit InputBlocker(QWidget* window) : m_window(window) { qApp->installEventFilter(this); }
    ~InputBlocker() override { qApp->removeEventFilter(this); }
    InputBlocker(const InputBlocker&) = delete;
    InputBlocker& operator=(const InputBlocker&) = delete;

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!IsUserInput(event->type()) || !receiver->isWidgetType() || !m_window) {
            return false;
        }
        const auto* widget = static_cast<QWidget*>(receiver);
        if (widget != m_window && !m_window->isAncestorOf(widget)) {
            return false;
        }
        // Accepting an override keeps the key from becoming a shortcut; a
        // close is refused rather than dropped, so the caller sees it fail.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
        } else if (event->type() == QEvent::Close) {
            event->ignore();
        }
        return true;
    }

private:
    QPointer<QWidget> m_window;
};

// The status text over the middle of the window, where the user is looking.
std::unique_ptr<QLabel> ShowStatus(QWidget* window, const CString& status) {
    auto label = std::make_unique<QLabel>(BytesToDisplayText(status.Bytes()), window);
    label->setObjectName("busyStatus");
    label->setAccessibleName(label->text());
    label->setAutoFillBackground(true);
    label->setFrameShape(QFrame::Box);
    label->setMargin(8);
    label->adjustSize();
    label->move((window->width() - label->width()) / 2, (window->height() - label->height()) / 2);
    label->raise();
    label->show();
    return label;
}

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

void RunOffUiThread(QWidget* window, const CString& status, const std::function<void()>& work) {
    const BusyCursor cursor;
    const InputBlocker blocker(window);
    const std::unique_ptr<QLabel> label = window ? ShowStatus(window, status) : nullptr;
    QEventLoop loop;
    // The quit is queued to the loop's thread, so it counts even when the work
    // ends before the loop starts.
    std::jthread worker([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
}
