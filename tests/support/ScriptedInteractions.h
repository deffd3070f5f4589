#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Afx.h"

// Stands in for the user in window tests: an ordered queue of the message
// boxes, file dialogs, modal runs and shell requests the code under test is
// expected to make. Anything unexpected, out of order, or left over when the
// script ends fails the test. Installed on the application for its lifetime.
class ScriptedInteractions final : public Interactions {
public:
    struct FileDialogSeen {
        bool open;
        std::string initialFileName;
        std::string defaultExtension;
        std::string filter;
    };

    ScriptedInteractions();
    ~ScriptedInteractions() override;
    ScriptedInteractions(const ScriptedInteractions&) = delete;
    ScriptedInteractions& operator=(const ScriptedInteractions&) = delete;

    // A message box with `text` and only an OK button, answered OK.
    ScriptedInteractions& ExpectMessageBox(std::string text);
    // A question with `text` whose buttons carry `labels` in order, `defaultLabel`
    // the default, answered with the button labelled `answerLabel`.
    ScriptedInteractions& ExpectQuestion(std::string text, std::vector<std::string> labels,
                                         std::string defaultLabel, std::string answerLabel);
    // An Open (or Save) dialog answered with `path`, or cancelled with nullopt.
    ScriptedInteractions& ExpectOpenFile(std::optional<std::string> path);
    ScriptedInteractions& ExpectSaveFile(std::optional<std::string> path);
    // What the desktop makes of a request to open a file.
    enum class ShellOutcome { Opened, NotStarted, FailedLater };
    ScriptedInteractions& ExpectShellOpen(std::string path,
                                          ShellOutcome outcome = ShellOutcome::Opened);

    // A modal run of a D with its real window: created and initialised, then
    // `drive` acts as the user. The result is what the dialog ended with.
    template <class D>
    ScriptedInteractions& ExpectModalRun(std::function<void(D&)> drive) {
        return Push(Expected::Kind::Modal, typeid(D).name(), [drive](CDialog& dialog) {
            return Drive(dialog, [&] { drive(static_cast<D&>(dialog)); });
        });
    }

    // Every file dialog shown so far, in order.
    const std::vector<FileDialogSeen>& FileDialogsSeen() const { return m_fileDialogs; }
    bool Done() const { return m_expected.empty(); }

    int MessageBox(CWnd* owner, const MessageBoxRequest& request) override;
    INT_PTR RunFileDialog(CFileDialog& dialog) override;
    INT_PTR RunModal(CDialog& dialog) override;
    bool ShellOpen(const CString& path, std::function<void()> failedLater) override;

private:
    struct Expected {
        enum class Kind { MessageBox, OpenFile, SaveFile, Modal, ShellOpen } kind;
        std::string text;  // message, path, dialog type or file
        std::optional<std::string> answer;
        std::function<INT_PTR(CDialog&)> run;
        std::vector<std::string> labels;  // a message box's buttons
        std::string defaultLabel;
        ShellOutcome shellOutcome = ShellOutcome::Opened;
    };

    ScriptedInteractions& Push(Expected::Kind kind, std::string text,
                               std::function<INT_PTR(CDialog&)> run);
    std::optional<Expected> Next(Expected::Kind kind, const std::string& what);
    static INT_PTR Drive(CDialog& dialog, const std::function<void()>& drive);

    std::deque<Expected> m_expected;
    std::vector<FileDialogSeen> m_fileDialogs;
    Interactions* m_previous;
};
