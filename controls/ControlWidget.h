#pragma once

#include <QWidget>

#include "Com.h"

// The widget that stands for a hosted control in its dialog. It holds a
// reference to the control's object, so the object lives at least as long as
// the widget; the object refers back only weakly.
class ControlWidget : public QWidget {
    Q_OBJECT

public:
    explicit ControlWidget(QWidget* parent) : QWidget(parent) {}
    void Hold(ComPtr<IUnknown> object) { m_object = std::move(object); }

private:
    ComPtr<IUnknown> m_object;
};
