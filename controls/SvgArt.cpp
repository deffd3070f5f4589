#include "SvgArt.h"

#include <QPaintEngine>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>

QImage RenderSvg(const QString& svg, QSizeF size, qreal pixelRatio) {
    QSvgRenderer renderer(svg.toUtf8());
    const QSize pixels(static_cast<int>(std::ceil(size.width() * pixelRatio)),
                       static_cast<int>(std::ceil(size.height() * pixelRatio)));
    if (!renderer.isValid() || pixels.isEmpty())
        return {};
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                               QPainter::TextAntialiasing);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    }
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

QImage RenderSvgTinted(const QString& svg, QSizeF size, qreal pixelRatio, const QColor& color) {
    QImage image = RenderSvg(svg, size, pixelRatio);
    if (image.isNull())
        return image;
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(QPointF(0, 0), size), color);
    return image;
}

qreal PixelRatioOf(const QPainter& painter) {
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* device = engine ? engine->paintDevice() : painter.device();
    return device ? std::max<qreal>(1.0, device->devicePixelRatio()) : 1.0;
}
