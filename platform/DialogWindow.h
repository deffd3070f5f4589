#pragma once

#include <QDialog>

#include "Menu.h"

class CDialog;
class QMenu;

// The Qt window of a CDialog: turns keys, clicks, closing and painting into
// the messages the dialog's message map routes.
class DialogWindow : public QDialog {
    Q_OBJECT

public:
    DialogWindow(CDialog& dialog, QWidget* parent);

    CMenu* SystemMenu() { return &m_systemMenu; }
    // Pops the system menu up at `globalPos`; a choice becomes WM_SYSCOMMAND.
    QMenu* ShowSystemMenu(const QPoint& globalPos);
    void ConnectControl(QWidget* control);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // What Enter does: presses the focused push button, else the default one.
    void PressDefaultButton();

    CDialog& m_dialog;
    CMenu m_systemMenu;
};
