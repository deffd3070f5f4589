#pragma once

#include <QAccessible>
#include <QWidget>

// Screen readers say what a control is by its role. Some controls are drawn
// by widgets whose own role says something else: a push button that switches
// views is a page tab, a widget that only shows art is a graphic. Gives
// `widget` that role; its name, description and actions stay its own.
void SetAccessibleRole(QWidget& widget, QAccessible::Role role);
