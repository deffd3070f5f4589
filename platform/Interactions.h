#pragma once

#include "CString.h"
#include "WinTypes.h"

class CDialog;
class CFileDialog;
class CWnd;

// Every message box, file dialog, modal run and shell request of the program
// passes here, so that tests can stand in for the user.
class Interactions {
public:
    virtual ~Interactions() = default;

    virtual int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) = 0;
    // IDOK with the chosen path stored in the dialog, or IDCANCEL.
    virtual INT_PTR RunFileDialog(CFileDialog& dialog) = 0;
    virtual INT_PTR RunModal(CDialog& dialog) = 0;
    // Opens `path` with the desktop's default handler, without waiting.
    virtual bool ShellOpen(const CString& path) = 0;
};

// The real thing: Qt's message boxes and file dialogs, real modal runs, and
// the desktop's handlers.
class RealInteractions final : public Interactions {
public:
    int MessageBox(CWnd* owner, const CString& text, const CString& caption, UINT type) override;
    INT_PTR RunFileDialog(CFileDialog& dialog) override;
    INT_PTR RunModal(CDialog& dialog) override;
    bool ShellOpen(const CString& path) override;
};
