#pragma once

#include <QObject>
#include <QSize>
#include <memory>

#include "SkinModel.h"

class QWidget;

// Gives a window the skin's art as its background brush, rendered for the
// window's size and pixel ratio and rendered again when either changes. It
// lives as a child of the window.
class WindowBackdrop : public QObject {
    Q_OBJECT

public:
    // Skins `window`, or reskins it when it was skinned before.
    static void Apply(QWidget& window, std::shared_ptr<const Skin> skin);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowBackdrop(QWidget& window, std::shared_ptr<const Skin> skin);
    void Adopt(QWidget& window, std::shared_ptr<const Skin> skin);
    // Renders the art again if the window's size or pixel ratio changed.
    bool Refresh(QWidget& window);

    std::shared_ptr<const Skin> m_skin;
    QSize m_renderedSize;
    qreal m_renderedRatio = 0;
};

// The window's background as the skin draws it: the art over the skin's
// window colour, at `size` logical pixels and `pixelRatio`.
QImage RenderBackdrop(const Skin& skin, QSize size, qreal pixelRatio);
