#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <vector>

// Which control stands for which skin element, so that an element can be
// drawn selected while the control of another element is shown. Shared by
// the skin control and the bindings it made; holds the controls weakly.
class BindingTable {
public:
    // Records that `control` is drawn as `element`, which follows `followed`
    // (empty for none). A control bound again replaces its earlier record.
    void Add(QWidget* control, const QString& element, const QString& followed);
    // True when a control of `element` is shown within its window.
    bool IsShown(const QString& element) const;
    // Repaints the controls whose elements follow `element`.
    void RepaintFollowers(const QString& element) const;

private:
    struct Binding {
        QPointer<QWidget> control;
        QString element;
        QString followed;
    };
    std::vector<Binding> m_bindings;
};
