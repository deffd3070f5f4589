#pragma once

#include <QColor>
#include <QImage>
#include <QSizeF>
#include <QString>

class QPainter;

// Renders `svg` stretched to `size` logical pixels, with `pixelRatio` device
// pixels to each; the image carries that ratio. Null for invalid art.
QImage RenderSvg(const QString& svg, QSizeF size, qreal pixelRatio);

// As RenderSvg, with every drawn pixel in `color`: only the art's coverage
// counts, so one icon serves every state of a button.
QImage RenderSvgTinted(const QString& svg, QSizeF size, qreal pixelRatio, const QColor& color);

// Device pixels per logical pixel of whatever `painter` finally draws on: the
// screen's back buffer, or the pixmap of a grab or render.
qreal PixelRatioOf(const QPainter& painter);
