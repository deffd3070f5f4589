#include "ElementBinding.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPainter>
#include <QWidget>

#include "AccessibleRole.h"
#include "BindingTable.h"
#include "ElementPainter.h"

void ElementBinding::Bind(QWidget& control, const SkinElement& element,
                          std::shared_ptr<BindingTable> table) {
    if (auto* earlier = control.findChild<ElementBinding*>(QString(), Qt::FindDirectChildrenOnly)) {
        earlier->Adopt(control, element, std::move(table));
    } else {
        new ElementBinding(control, element, std::move(table));  // owned by the control
    }
}

ElementBinding::ElementBinding(QWidget& control, const SkinElement& element,
                               std::shared_ptr<BindingTable> table)
    : QObject(&control) {
    control.installEventFilter(this);
    Adopt(control, element, std::move(table));
}

void ElementBinding::Adopt(QWidget& control, const SkinElement& element,
                           std::shared_ptr<BindingTable> table) {
    m_element = element;
    m_table = std::move(table);
    m_table->Add(&control, m_element.name, m_element.selectedWith);
    // Hover needs its own repaints; a button without text needs a name that
    // screen readers can say, and says what it does as its tooltip does.
    control.setAttribute(Qt::WA_Hover);
    control.setCursor(Qt::PointingHandCursor);
    control.setToolTip(m_element.tooltip);
    control.setAccessibleName(!m_element.accessibleName.isEmpty() ? m_element.accessibleName
                              : !m_element.label.isEmpty()        ? m_element.label
                                                                  : m_element.tooltip);
    control.setAccessibleDescription(m_element.tooltip);
    // An element that follows a view is that view's tab, and is heard so.
    if (!m_element.selectedWith.isEmpty())
        SetAccessibleRole(control, QAccessible::PageTab);
    control.update();
}

ElementState ElementBinding::StateOf(const QWidget& control) const {
    const auto* button = qobject_cast<const QAbstractButton*>(&control);
    if (!control.isEnabled())
        return ElementState::Disabled;
    if (button && button->isDown())
        return ElementState::Pressed;
    const bool followedShown =
        !m_element.selectedWith.isEmpty() && m_table->IsShown(m_element.selectedWith);
    if (followedShown || (button && button->isChecked()))
        return ElementState::Selected;
    if (control.underMouse())
        return ElementState::Hover;
    return ElementState::Normal;
}

bool ElementBinding::eventFilter(QObject* watched, QEvent* event) {
    auto* control = qobject_cast<QWidget*>(watched);
    if (!control || control != parent())
        return false;
    switch (event->type()) {
        case QEvent::Paint: {
            QPainter painter(control);
            PaintElement(painter, QRectF(control->rect()), m_element, StateOf(*control),
                         control->hasFocus());
            return true;  // the element replaces the control's own look
        }
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            m_table->RepaintFollowers(m_element.name);
            return false;
        default:
            return false;
    }
}
