#include "DialogWindow.h"

#include <algorithm>

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabBar>
#include <QTimer>

#include "Dialog.h"
#include "FileDrop.h"
#include "Messages.h"
#include "TextEncoding.h"

DialogWindow::DialogWindow(CDialog& dialog, QWidget* parent) : QDialog(parent), m_dialog(dialog) {
    // Alt+Space opens the window's own system menu, wherever the focus is.
    auto* systemMenuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
    connect(systemMenuKey, &QShortcut::activated, this,
            [this] { ShowSystemMenu(mapToGlobal(QPoint(0, 0))); });

    // The style draws the focus only after the keyboard has moved it, and
    // forgets it on any other move; but a dialog opens with the focus on a
    // control, and the user must always see which.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this)
            setAttribute(Qt::WA_KeyboardFocusChange);
    });
}

QMenu* DialogWindow::ShowSystemMenu(const QPoint& globalPos) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->setObjectName("systemMenu");
    for (const CMenu::Item& item : m_systemMenu.Items()) {
        if (item.flags & MF_SEPARATOR) {
            menu->addSeparator();
            continue;
        }
        // "&Close\tAlt+F4": the part after the tab is the shortcut's label.
        const QStringList parts = BytesToDisplayText(item.text.Bytes()).split('\t');
        QAction* action = menu->addAction(parts.front());
        if (parts.size() > 1)
            action->setShortcut(QKeySequence(parts[1]));
        action->setShortcutVisibleInContextMenu(true);
        action->setData(item.id);
        if (item.id == SC_RESTORE)
            action->setEnabled(isMinimized());
        if (item.id == SC_MINIMIZE)
            action->setEnabled(!isMinimized());
        const UINT id = item.id;
        connect(action, &QAction::triggered, this,
                [this, id] { m_dialog.SendMessage(WM_SYSCOMMAND, id); });
    }
    menu->popup(globalPos);
    return menu;
}

void DialogWindow::ConnectControl(QWidget* control) {
    const int id = ControlIdOf(control);
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        // Push buttons and check boxes alike: a dialog may follow a box's
        // state as the user changes it.
        connect(button, &QAbstractButton::clicked, this, [this, id] { m_dialog.SendCommand(id); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        connect(edit, &QLineEdit::textChanged, this, [this, id] {
            MessageContext context{WM_COMMAND, EN_CHANGE, id};
            m_dialog.OnWndMsg(context);
        });
    } else if (auto* text = qobject_cast<QPlainTextEdit*>(control)) {
        connect(text, &QPlainTextEdit::textChanged, this, [this, id] {
            MessageContext context{WM_COMMAND, EN_CHANGE, id};
            m_dialog.OnWndMsg(context);
        });
    } else if (auto* tabs = qobject_cast<QTabBar*>(control)) {
        connect(tabs, &QTabBar::currentChanged, this, [this, id, tabs](int) {
            NMHDR header{tabs, static_cast<UINT>(id), TCN_SELCHANGE};
            MessageContext context{WM_NOTIFY, TCN_SELCHANGE, id};
            context.data = &header;
            m_dialog.OnWndMsg(context);
        });
    }
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    switch (event->key()) {
        case Qt::Key_Escape:
            if (plain) {
                m_dialog.SendCommand(IDCANCEL);
                return;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (plain) {
                PressDefaultButton();
                return;
            }
            break;
        case Qt::Key_F1: {
            HELPINFO info{ControlIdOf(focusWidget()), focusWidget()};
            MessageContext context{WM_HELP, 0, info.iCtrlId};
            context.data = &info;
            m_dialog.OnWndMsg(context);
            return;
        }
        default:
            break;
    }
    QDialog::keyPressEvent(event);
}

void DialogWindow::PressDefaultButton() {
    // The focused push button is the default while it has the focus; else the
    // template's default button; a dialog without one gets IDOK.
    auto* target = qobject_cast<QPushButton*>(focusWidget());
    if (!target) {
        const QList<QPushButton*> buttons = findChildren<QPushButton*>(Qt::FindDirectChildrenOnly);
        const auto found =
            std::find_if(buttons.begin(), buttons.end(),
                         [](const QPushButton* button) { return button->isDefault(); });
        if (found == buttons.end()) {
            m_dialog.SendCommand(IDOK);
            return;
        }
        target = *found;
    }
    if (target->isEnabled() && target->isVisible())
        m_dialog.SendCommand(ControlIdOf(target));
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box asks the dialog, which ends itself through IDCANCEL.
    event->ignore();
    m_dialog.SendMessage(WM_SYSCOMMAND, SC_CLOSE);
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    MessageContext context{WM_PAINT};
    if (!m_dialog.OnWndMsg(context))
        QDialog::paintEvent(event);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // A right click on the window's own background, not on a control.
    if (childAt(event->pos()) == nullptr && !m_systemMenu.Items().empty()) {
        ShowSystemMenu(event->globalPos());
        return;
    }
    QDialog::contextMenuEvent(event);
}

void DialogWindow::AcceptFileDrops(bool accept) {
    m_acceptFiles = accept;
    setAcceptDrops(accept);
    if (!accept)
        return;
    // An edit would otherwise take a dropped file as text, its URL.
    for (QWidget* control : findChildren<QWidget*>())
        PassFileDragsToWindow(control);
}

bool DialogWindow::TakesFilesNow() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return m_acceptFiles && (modal == nullptr || modal == this);
}

void DialogWindow::AnswerDrag(QDropEvent* event) const {
    if (TakesFilesNow() && !DraggedFiles(event->mimeData()).empty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void DialogWindow::dragEnterEvent(QDragEnterEvent* event) {
    AnswerDrag(event);
}

void DialogWindow::dragMoveEvent(QDragMoveEvent* event) {
    AnswerDrag(event);
}

void DialogWindow::dropEvent(QDropEvent* event) {
    std::vector<CString> files = DraggedFiles(event->mimeData());
    if (files.empty() || !TakesFilesNow()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Handled from the event loop, as a posted message: the drag's source
    // hears at once that the drop was taken, and the handler may run dialogs.
    QTimer::singleShot(0, this, [this, files = std::move(files)] {
        if (!TakesFilesNow())
            return;
        DropFilesInfo drop{files};
        MessageContext context{WM_DROPFILES};
        context.data = &drop;
        m_dialog.OnWndMsg(context);
    });
}
