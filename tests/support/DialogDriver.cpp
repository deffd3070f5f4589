#include "DialogDriver.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "Afx.h"

QWidget* Control(CDialog& dialog, int id) {
    QWidget* control = FindControl(dialog.GetSafeHwnd(), id);
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

void Click(CDialog& dialog, int id) {
    auto* button = qobject_cast<QAbstractButton*>(Control(dialog, id));
    ASSERT_NE(button, nullptr) << "control " << id << " is no button";
    if (button->isEnabled())
        button->click();
}

void Type(CDialog& dialog, int id, const QString& text) {
    QWidget* control = Control(dialog, id);
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->clear();
        // keyClicks knows ASCII only; other letters arrive as text-only keys.
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80) {
                QTest::keyClick(line, ch.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, line, Qt::Key_unknown, QString(ch),
                                    Qt::NoModifier);
            }
        }
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(control)) {
        edit->clear();
        edit->insertPlainText(text);
    } else {
        ADD_FAILURE() << "control " << id << " takes no text";
    }
}

QString TextOf(CDialog& dialog, int id) {
    QWidget* control = Control(dialog, id);
    if (auto* line = qobject_cast<QLineEdit*>(control))
        return line->text();
    if (auto* edit = qobject_cast<QPlainTextEdit*>(control))
        return edit->toPlainText();
    return {};
}

void PressKey(CDialog& dialog, int key, int modifiers) {
    QWidget* window = dialog.GetSafeHwnd();
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
}

bool IsShown(CDialog& dialog, int id) {
    QWidget* control = Control(dialog, id);
    return control && control->isVisibleTo(dialog.GetSafeHwnd());
}

bool IsEnabled(CDialog& dialog, int id) {
    QWidget* control = Control(dialog, id);
    return control && control->isEnabled();
}

QString Spoken(QWidget* widget, QAccessible::Text text) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(text) : QString();
}
