#include "ElementPainter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "SvgArt.h"

namespace {

// A rectangle with its own radius at each corner (top-left, top-right,
// bottom-right, bottom-left), each limited to half the shorter side.
QPainterPath RoundedPath(const QRectF& r, const std::array<double, 4>& radii) {
    const double limit = std::min(r.width(), r.height()) / 2;
    const auto radius = [&](std::size_t corner) { return std::clamp(radii[corner], 0.0, limit); };
    const double tl = radius(0), tr = radius(1), br = radius(2), bl = radius(3);
    QPainterPath path;
    path.moveTo(r.left() + tl, r.top());
    path.lineTo(r.right() - tr, r.top());
    path.arcTo(r.right() - 2 * tr, r.top(), 2 * tr, 2 * tr, 90, -90);
    path.lineTo(r.right(), r.bottom() - br);
    path.arcTo(r.right() - 2 * br, r.bottom() - 2 * br, 2 * br, 2 * br, 0, -90);
    path.lineTo(r.left() + bl, r.bottom());
    path.arcTo(r.left(), r.bottom() - 2 * bl, 2 * bl, 2 * bl, 270, -90);
    path.lineTo(r.left(), r.top() + tl);
    path.arcTo(r.left(), r.top(), 2 * tl, 2 * tl, 180, -90);
    path.closeSubpath();
    return path;
}

QRectF Strip(const QRectF& r, Qt::Edge edge, double width) {
    switch (edge) {
        case Qt::TopEdge:
            return {r.left(), r.top(), r.width(), width};
        case Qt::BottomEdge:
            return {r.left(), r.bottom() - width, r.width(), width};
        case Qt::RightEdge:
            return {r.right() - width, r.top(), width, r.height()};
        default:
            return {r.left(), r.top(), width, r.height()};
    }
}

// Device-pixel aligned, so that icons stay sharp.
QPointF Snap(QPointF point, qreal ratio) {
    return {std::round(point.x() * ratio) / ratio, std::round(point.y() * ratio) / ratio};
}

void PaintFace(QPainter& painter, const QRectF& rect, const Face& face, const FaceLook& look,
               bool focused) {
    const QRectF body = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = RoundedPath(body, face.radii);

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, look.fillTop);
    fill.setColorAt(1, look.fillBottom);
    painter.fillPath(shape, fill);

    painter.save();
    painter.setClipPath(shape);
    if (look.bar.alpha() > 0)
        painter.fillRect(Strip(rect, face.barEdge, face.barWidth), look.bar);
    if (look.highlight.alpha() > 0) {
        painter.setPen(QPen(look.highlight, 1));
        painter.drawLine(QPointF(body.left(), body.top() + 1),
                         QPointF(body.right(), body.top() + 1));
    }
    painter.restore();

    if (look.border.alpha() > 0)
        painter.strokePath(shape, QPen(look.border, 1));
    if (focused && face.focus.alpha() > 0) {
        // Two whole pixels just inside the border: a ring across pixel edges
        // would be smeared over three half-lit rows and barely show.
        constexpr double kRing = 2;
        const double inset = 0.5 + kRing / 2;
        std::array<double, 4> inner = face.radii;
        for (double& radius : inner)
            radius = std::max(0.0, radius - inset);
        painter.strokePath(RoundedPath(body.adjusted(inset, inset, -inset, -inset), inner),
                           QPen(face.focus, kRing));
    }
}

void PaintIcon(QPainter& painter, const QString& svg, QPointF topLeft, double size,
               const QColor& color) {
    const qreal ratio = PixelRatioOf(painter);
    const QImage icon = RenderSvgTinted(svg, QSizeF(size, size), ratio, color);
    if (!icon.isNull())
        painter.drawImage(Snap(topLeft, ratio), icon);
}

// Shrinks the label a pixel at a time, down to kSmallestLabel, before it
// cuts it short: a word that nearly fits reads better smaller than cut.
constexpr int kSmallestLabel = 9;

void PaintLabel(QPainter& painter, const QRectF& box, const QString& label, const Face& face,
                const QColor& ink, Qt::Alignment alignment) {
    QFont font = face.font;
    while (font.pixelSize() > kSmallestLabel &&
           QFontMetricsF(font).horizontalAdvance(label) > box.width()) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    const QString shown = QFontMetricsF(font).elidedText(label, Qt::ElideRight, box.width());
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(box, static_cast<int>(alignment | Qt::TextSingleLine), shown);
}

void PaintContent(QPainter& painter, const QRectF& rect, const SkinElement& element,
                  const FaceLook& look) {
    const Face& face = element.face;
    const bool hasIcon = !element.icon.isEmpty();
    const bool hasLabel = !element.label.isEmpty();
    const double icon = hasIcon ? face.iconSize : 0;
    const double gap = hasIcon && hasLabel ? face.gap : 0;
    const QFontMetricsF metrics(face.font);

    switch (face.layout) {
        case ContentLayout::Row: {
            const double x = rect.left() + face.padding;
            if (hasIcon) {
                PaintIcon(painter, element.icon, {x, rect.center().y() - icon / 2}, icon,
                          look.icon);
            }
            const QRectF box(x + icon + gap, rect.top(), rect.right() - x - icon - gap - 4,
                             rect.height());
            if (hasLabel)
                PaintLabel(painter, box, element.label, face, look.ink, Qt::AlignVCenter);
            break;
        }
        case ContentLayout::Column: {
            const double labelHeight = hasLabel ? metrics.height() : 0;
            const double top = rect.center().y() - (icon + gap + labelHeight) / 2;
            if (hasIcon) {
                PaintIcon(painter, element.icon, {rect.center().x() - icon / 2, top}, icon,
                          look.icon);
            }
            const QRectF box(rect.left() + 1, top + icon + gap, rect.width() - 2, labelHeight);
            if (hasLabel)
                PaintLabel(painter, box, element.label, face, look.ink, Qt::AlignCenter);
            break;
        }
        case ContentLayout::Center: {
            const double labelWidth = hasLabel ? metrics.horizontalAdvance(element.label) : 0;
            const double width = std::min(icon + gap + labelWidth, rect.width());
            const double left = rect.center().x() - width / 2;
            if (hasIcon) {
                PaintIcon(painter, element.icon, {left, rect.center().y() - icon / 2}, icon,
                          look.icon);
            }
            const QRectF box(left + icon + gap, rect.top(), width - icon - gap, rect.height());
            if (hasLabel)
                PaintLabel(painter, box, element.label, face, look.ink, Qt::AlignCenter);
            break;
        }
    }
}

}  // namespace

void PaintElement(QPainter& painter, const QRectF& rect, const SkinElement& element,
                  ElementState state, bool focused) {
    const Face& face = element.face;
    const FaceLook& look = face.Look(state);
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                           QPainter::SmoothPixmapTransform);
    PaintFace(painter, rect, face, look, focused);
    const double shift = state == ElementState::Pressed ? face.pressShift : 0;
    PaintContent(painter, rect.translated(0, shift), element, look);
    painter.restore();
}
