#include "SplashWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "SvgArt.h"

SplashWindow::SplashWindow(QWidget& owner, const SplashArt& splash)
    : QWidget(&owner, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_art(splash.art) {
    setObjectName(QStringLiteral("VeilnoteSplash"));
    // It must never take input away from the window starting beneath it.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(splash.size);
    setCursor(Qt::PointingHandCursor);

    QScreen* screen = owner.screen() ? owner.screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void SplashWindow::ShowFor(std::chrono::milliseconds duration) {
    show();
    QTimer::singleShot(duration, this, &QWidget::close);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const qreal ratio = PixelRatioOf(painter);
    if (m_rendered.isNull() || m_rendered.devicePixelRatio() != ratio) {
        m_rendered = RenderSvg(m_art, QSizeF(size()), ratio);
    }
    painter.drawImage(QPointF(0, 0), m_rendered);
}

void SplashWindow::mousePressEvent(QMouseEvent*) {
    close();
}
