#include "AccessibleRole.h"

#include <QAbstractButton>
#include <QAccessibleWidget>

namespace {
constexpr const char* kRoleProperty = "veilnote.accessibleRole";

// A widget heard in the role it was given. A button keeps its press action
// and its checked state, so a page tab still switches its page.
class WidgetInRole final : public QAccessibleWidget {
public:
    WidgetInRole(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        if (const auto* button = Button(); button && button->isCheckable()) {
            state.checkable = true;
            state.checked = button->isChecked();
        }
        return state;
    }

    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (Button() && widget()->isEnabled())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            if (auto* button = Button(); button && button->isEnabled())
                button->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }

private:
    QAbstractButton* Button() const { return qobject_cast<QAbstractButton*>(widget()); }
};

QAccessibleInterface* RoleFactory(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWidgetType())
        return nullptr;
    const QVariant role = widget->property(kRoleProperty);
    if (!role.isValid())
        return nullptr;
    // Qt's accessibility cache owns what a factory makes.
    return new WidgetInRole(widget, static_cast<QAccessible::Role>(role.toInt()));
}
}  // namespace

void SetAccessibleRole(QWidget& widget, QAccessible::Role role) {
    // Qt asks every installed factory for every object it describes, so one
    // factory, installed once, serves every widget given a role.
    static const bool installed = [] {
        QAccessible::installFactory(RoleFactory);
        return true;
    }();
    static_cast<void>(installed);
    widget.setProperty(kRoleProperty, static_cast<int>(role));
    // Qt keeps the first description it made of a widget; one made before
    // the role was given is dropped, so that the next one has the role.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(&widget);
        made && made->role() != role)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}
