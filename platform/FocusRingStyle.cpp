#include "FocusRingStyle.h"

#include <QPainter>
#include <QStyleOption>

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    const bool keyboardFocus =
        (option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange);
    if ((element != CE_PushButton && element != CE_CheckBox) || !keyboardFocus)
        return;
    constexpr int kRing = 2;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), kRing));
    painter->setBrush(Qt::NoBrush);
    // The pen is centred on the path: inset by half of it to stay inside.
    painter->drawRect(
        QRectF(option->rect).adjusted(kRing / 2.0, kRing / 2.0, -kRing / 2.0, -kRing / 2.0));
    painter->restore();
}
