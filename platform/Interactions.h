#pragma once

#include <functional>
#include <vector>

#include "CString.h"
#include "WinTypes.h"

class CDialog;
class CFileDialog;
class CWnd;

// One button of a message box: the result it gives and the label it shows
// ("&" marks its access key).
struct MessageBoxAnswer {
    int id;
    CString label;
};

// What a message box shows: its text, caption and icon (an MB_ICON* value),
// its buttons in order and the one that Enter presses.
struct MessageBoxRequest {
    CString text;
    CString caption;
    UINT icon = MB_OK;
    std::vector<MessageBoxAnswer> answers;
    int defaultAnswer = IDOK;

    // The buttons, icon and default an MB_* type asks for.
    static MessageBoxRequest FromType(const CString& text, const CString& caption, UINT type);
    // The answer that Escape and the close box give: Cancel, else No, else a
    // lone button. 0 when there is none, and then the box must be answered.
    int EscapeAnswer() const;
};

// Every message box, file dialog, modal run and shell request of the program
// passes here, so that tests can stand in for the user.
class Interactions {
public:
    virtual ~Interactions() = default;

    // The id of the answer the user chose.
    virtual int MessageBox(CWnd* owner, const MessageBoxRequest& request) = 0;
    // IDOK with the chosen path stored in the dialog, or IDCANCEL.
    virtual INT_PTR RunFileDialog(CFileDialog& dialog) = 0;
    virtual INT_PTR RunModal(CDialog& dialog) = 0;
    // Opens `path` with the desktop's default handler, without waiting. False
    // when that cannot even start; `failedLater` runs if it ends in failure.
    virtual bool ShellOpen(const CString& path, std::function<void()> failedLater) = 0;
};

// The real thing: Qt's message boxes and file dialogs, real modal runs, and
// the desktop's handlers.
class RealInteractions final : public Interactions {
public:
    int MessageBox(CWnd* owner, const MessageBoxRequest& request) override;
    INT_PTR RunFileDialog(CFileDialog& dialog) override;
    INT_PTR RunModal(CDialog& dialog) override;
    bool ShellOpen(const CString& path, std::function<void()> failedLater) override;
};
