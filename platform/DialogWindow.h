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
    // Whether dropped files reach the dialog as WM_DROPFILES.
    void AcceptFileDrops(bool accept);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // What Enter does: presses the focused push button, else the default one.
    void PressDefaultButton();
    // Whether a drop of files would be taken now: not while another modal
    // window, such as a message box of a running command, is over this one.
    bool TakesFilesNow() const;
    // Takes a drag of files, while they would be taken now; declines others.
    void AnswerDrag(QDropEvent* event) const;

    CDialog& m_dialog;
    CMenu m_systemMenu;
    bool m_acceptFiles = false;
};
