#include "WindowBackdrop.h"

#include <QEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include "SvgArt.h"

QImage RenderBackdrop(const Skin& skin, QSize size, qreal pixelRatio) {
    QImage backdrop(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    backdrop.setDevicePixelRatio(pixelRatio);
    backdrop.fill(skin.windowColor);
    const QImage art = RenderSvg(skin.windowArt, QSizeF(size), pixelRatio);
    QPainter painter(&backdrop);
    painter.drawImage(QPointF(0, 0), art);
    return backdrop;
}

void WindowBackdrop::Apply(QWidget& window, std::shared_ptr<const Skin> skin) {
    if (auto* earlier = window.findChild<WindowBackdrop*>(QString(), Qt::FindDirectChildrenOnly)) {
        earlier->Adopt(window, std::move(skin));
    } else {
        new WindowBackdrop(window, std::move(skin));  // owned by the window
    }
}

WindowBackdrop::WindowBackdrop(QWidget& window, std::shared_ptr<const Skin> skin)
    : QObject(&window) {
    window.installEventFilter(this);
    Adopt(window, std::move(skin));
}

void WindowBackdrop::Adopt(QWidget& window, std::shared_ptr<const Skin> skin) {
    m_skin = std::move(skin);
    m_renderedSize = QSize();
    Refresh(window);
}

bool WindowBackdrop::Refresh(QWidget& window) {
    const qreal ratio = window.devicePixelRatioF();
    if (window.size() == m_renderedSize && ratio == m_renderedRatio)
        return false;
    m_renderedSize = window.size();
    m_renderedRatio = ratio;
    QPalette palette = window.palette();
    palette.setBrush(QPalette::Window,
                     QBrush(QPixmap::fromImage(RenderBackdrop(*m_skin, window.size(), ratio))));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    return true;
}

bool WindowBackdrop::eventFilter(QObject* watched, QEvent* event) {
    auto* window = qobject_cast<QWidget*>(watched);
    if (!window || window != parent())
        return false;
    switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::ScreenChangeInternal:
            Refresh(*window);
            break;
        case QEvent::Paint:
            // Qt 6.4 sends no event when only the pixel ratio changes; the
            // first paint at a new ratio finds out. Its background was filled
            // from the old brush, so this once it is painted over.
            if (Refresh(*window)) {
                QPainter painter(window);
                painter.drawTiledPixmap(window->rect(), window->palette().window().texture());
            }
            break;
        default:
            break;
    }
    return false;
}
