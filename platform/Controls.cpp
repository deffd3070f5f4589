#include "Controls.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTextDocument>

#include "PictureBox.h"
#include "TextEncoding.h"

int CButton::GetCheck() const {
    const auto* button = qobject_cast<const QAbstractButton*>(GetSafeHwnd());
    return button && button->isChecked() ? BST_CHECKED : BST_UNCHECKED;
}

void CButton::SetCheck(int check) {
    if (auto* button = qobject_cast<QAbstractButton*>(GetSafeHwnd());
        button && button->isCheckable())
        button->setChecked(check == BST_CHECKED);
}

BOOL CEdit::GetModify() const {
    if (const auto* line = qobject_cast<const QLineEdit*>(GetSafeHwnd()))
        return line->isModified() ? TRUE : FALSE;
    if (const auto* edit = qobject_cast<const QPlainTextEdit*>(GetSafeHwnd()))
        return edit->document()->isModified() ? TRUE : FALSE;
    return FALSE;
}

void CEdit::SetModify(BOOL modified) {
    if (auto* line = qobject_cast<QLineEdit*>(GetSafeHwnd()))
        line->setModified(modified != FALSE);
    else if (auto* edit = qobject_cast<QPlainTextEdit*>(GetSafeHwnd()))
        edit->document()->setModified(modified != FALSE);
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap) {
    auto* picture = qobject_cast<PictureBox*>(GetSafeHwnd());
    return picture ? picture->SetBitmap(std::move(bitmap)) : nullptr;
}

HBITMAP CStatic::GetBitmap() const {
    const auto* picture = qobject_cast<const PictureBox*>(GetSafeHwnd());
    return picture ? picture->GetBitmap() : nullptr;
}

void CStatic::SetTextColor(COLORREF color) {
    QWidget* label = GetSafeHwnd();
    if (!label)
        return;
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText,
                     QColor(static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
                            static_cast<int>(color >> 16 & 0xFF)));
    label->setPalette(palette);
}

namespace {
QTabBar* Tabs(const CWnd& control) {
    return qobject_cast<QTabBar*>(control.GetSafeHwnd());
}
}  // namespace

int CTabCtrl::GetCurSel() const {
    const QTabBar* tabs = Tabs(*this);
    return tabs ? tabs->currentIndex() : -1;
}

int CTabCtrl::SetCurSel(int item) {
    QTabBar* tabs = Tabs(*this);
    if (!tabs || item < 0 || item >= tabs->count())
        return -1;
    const QSignalBlocker quiet(tabs);
    const int previous = tabs->currentIndex();
    tabs->setCurrentIndex(item);
    return previous;
}

int CTabCtrl::InsertItem(int item, const CString& text) {
    QTabBar* tabs = Tabs(*this);
    if (!tabs)
        return -1;
    const QSignalBlocker quiet(tabs);
    return tabs->insertTab(item, BytesToDisplayText(text.Bytes()));
}
