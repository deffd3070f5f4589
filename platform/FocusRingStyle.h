#pragma once

#include <QProxyStyle>

// The application's style, with a plain ring round a push button or check box
// that has the keyboard focus. Many styles draw a focused button and the
// default button alike, so on the default button the focus would not show at
// all; a check box's own focus mark is a faint dotted line.
class FocusRingStyle : public QProxyStyle {
    Q_OBJECT

public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
};
