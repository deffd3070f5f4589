#pragma once

#include <QAccessible>
#include <QString>

class CDialog;
class QWidget;

// Acting as the user on a dialog's controls, found by their IDs.
QWidget* Control(CDialog& dialog, int id);
// Clicks the button as the mouse would: nothing happens when it is disabled.
void Click(CDialog& dialog, int id);
void Type(CDialog& dialog, int id, const QString& text);
QString TextOf(CDialog& dialog, int id);
void PressKey(CDialog& dialog, int key, int modifiers = 0);
bool IsShown(CDialog& dialog, int id);
bool IsEnabled(CDialog& dialog, int id);
// What a screen reader reads of `widget`: its name, or another of its texts.
QString Spoken(QWidget* widget, QAccessible::Text text = QAccessible::Name);
