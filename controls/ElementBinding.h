#pragma once

#include <QObject>
#include <memory>

#include "SkinModel.h"

class BindingTable;
class QWidget;

// Makes a control draw itself as a skin element: filters the control's paint
// events and paints the element for its current state instead. It lives as a
// child of the control, so it goes when the control goes.
class ElementBinding : public QObject {
    Q_OBJECT

public:
    // Binds `control`, or rebinds it when it was bound before.
    static void Bind(QWidget& control, const SkinElement& element,
                     std::shared_ptr<BindingTable> table);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ElementBinding(QWidget& control, const SkinElement& element,
                   std::shared_ptr<BindingTable> table);
    void Adopt(QWidget& control, const SkinElement& element, std::shared_ptr<BindingTable> table);
    ElementState StateOf(const QWidget& control) const;

    SkinElement m_element;
    std::shared_ptr<BindingTable> m_table;
};
