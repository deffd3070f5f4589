#include "ScriptedInteractions.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>

namespace {
const char* KindName(int kind) {
    static const char* const names[] = {"message box", "Open dialog", "Save dialog", "modal run",
                                        "shell request"};
    return names[kind];
}
}  // namespace

ScriptedInteractions::ScriptedInteractions() : m_previous(AfxGetApp()->SetInteractions(this)) {}

ScriptedInteractions::~ScriptedInteractions() {
    AfxGetApp()->SetInteractions(m_previous);
    for (const Expected& left : m_expected) {
        ADD_FAILURE() << "expected " << KindName(static_cast<int>(left.kind)) << " \"" << left.text
                      << "\" never came";
    }
}

ScriptedInteractions& ScriptedInteractions::Push(Expected::Kind kind, std::string text,
                                                 std::function<INT_PTR(CDialog&)> run) {
    m_expected.push_back({kind, std::move(text), std::nullopt, std::move(run), {}, {}});
    return *this;
}

ScriptedInteractions& ScriptedInteractions::ExpectMessageBox(std::string text) {
    m_expected.push_back(
        {Expected::Kind::MessageBox, std::move(text), "OK", nullptr, {"OK"}, "OK"});
    return *this;
}

ScriptedInteractions& ScriptedInteractions::ExpectQuestion(std::string text,
                                                           std::vector<std::string> labels,
                                                           std::string defaultLabel,
                                                           std::string answerLabel) {
    m_expected.push_back({Expected::Kind::MessageBox, std::move(text), std::move(answerLabel),
                          nullptr, std::move(labels), std::move(defaultLabel)});
    return *this;
}

ScriptedInteractions& ScriptedInteractions::ExpectOpenFile(std::optional<std::string> path) {
    m_expected.push_back(
        {Expected::Kind::OpenFile, path.value_or("(cancel)"), path, nullptr, {}, {}});
    return *this;
}

ScriptedInteractions& ScriptedInteractions::ExpectSaveFile(std::optional<std::string> path) {
    m_expected.push_back(
        {Expected::Kind::SaveFile, path.value_or("(cancel)"), path, nullptr, {}, {}});
    return *this;
}

ScriptedInteractions& ScriptedInteractions::ExpectShellOpen(std::string path,
                                                            ShellOutcome outcome) {
    Push(Expected::Kind::ShellOpen, std::move(path), nullptr);
    m_expected.back().shellOutcome = outcome;
    return *this;
}

std::optional<ScriptedInteractions::Expected> ScriptedInteractions::Next(Expected::Kind kind,
                                                                         const std::string& what) {
    if (m_expected.empty()) {
        ADD_FAILURE() << "unexpected " << KindName(static_cast<int>(kind)) << " \"" << what << "\"";
        return std::nullopt;
    }
    Expected next = std::move(m_expected.front());
    m_expected.pop_front();
    if (next.kind != kind) {
        ADD_FAILURE() << "expected " << KindName(static_cast<int>(next.kind)) << " \"" << next.text
                      << "\", got " << KindName(static_cast<int>(kind)) << " \"" << what << "\"";
        return std::nullopt;
    }
    return next;
}

int ScriptedInteractions::MessageBox(CWnd*, const MessageBoxRequest& request) {
    EXPECT_EQ(request.caption.Bytes(), AfxGetAppName())
        << "message boxes carry the application's name";
    std::vector<std::string> labels;
    std::string defaultLabel;
    for (const MessageBoxAnswer& answer : request.answers) {
        labels.push_back(answer.label.Bytes());
        if (answer.id == request.defaultAnswer)
            defaultLabel = answer.label.Bytes();
    }
    const auto next = Next(Expected::Kind::MessageBox, request.text.Bytes());
    if (!next)
        return request.EscapeAnswer();
    EXPECT_EQ(next->text, request.text.Bytes());
    EXPECT_EQ(next->labels, labels) << "the buttons of \"" << next->text << "\"";
    EXPECT_EQ(next->defaultLabel, defaultLabel) << "the default of \"" << next->text << "\"";
    for (const MessageBoxAnswer& answer : request.answers) {
        if (answer.label.Bytes() == next->answer)
            return answer.id;
    }
    ADD_FAILURE() << "no button \"" << next->answer.value_or("") << "\" to answer \"" << next->text
                  << "\"";
    return request.EscapeAnswer();
}

INT_PTR ScriptedInteractions::RunFileDialog(CFileDialog& dialog) {
    m_fileDialogs.push_back({dialog.IsOpenDialog() != FALSE, dialog.InitialFileName().Bytes(),
                             dialog.DefaultExtension().Bytes(), dialog.Filter().Bytes()});
    const auto kind = dialog.IsOpenDialog() ? Expected::Kind::OpenFile : Expected::Kind::SaveFile;
    const auto next = Next(kind, dialog.InitialFileName().Bytes());
    if (!next || !next->answer) {
        dialog.SetChosenPath({});
        return IDCANCEL;
    }
    dialog.SetChosenPath(CString(*next->answer));
    return IDOK;
}

INT_PTR ScriptedInteractions::RunModal(CDialog& dialog) {
    const auto next = Next(Expected::Kind::Modal, typeid(dialog).name());
    if (!next)
        return IDCANCEL;
    EXPECT_EQ(next->text, typeid(dialog).name()) << "a modal run of another dialog";
    if (next->text != typeid(dialog).name())
        return IDCANCEL;
    return next->run(dialog);
}

bool ScriptedInteractions::ShellOpen(const CString& path, std::function<void()> failedLater) {
    const auto next = Next(Expected::Kind::ShellOpen, path.Bytes());
    if (!next)
        return true;
    EXPECT_EQ(next->text, path.Bytes());
    switch (next->shellOutcome) {
        case ShellOutcome::NotStarted:
            return false;
        case ShellOutcome::FailedLater:
            // As the handler's end would arrive: from the event loop.
            QTimer::singleShot(0, [failedLater = std::move(failedLater)] {
                if (failedLater)
                    failedLater();
            });
            return true;
        case ShellOutcome::Opened:
            break;
    }
    return true;
}

INT_PTR ScriptedInteractions::Drive(CDialog& dialog, const std::function<void()>& drive) {
    if (!dialog.CreateModalWindow()) {
        ADD_FAILURE() << "the dialog's window could not be created";
        return -1;
    }
    QWidget* window = dialog.GetSafeHwnd();
    window->show();
    window->activateWindow();
    static_cast<void>(
        QTest::qWaitFor([&] { return window->isActiveWindow() || dialog.HasEnded(); }, 1000));
    if (!dialog.HasEnded())
        drive();
    // A dialog may end itself through a posted message.
    static_cast<void>(QTest::qWaitFor([&] { return dialog.HasEnded(); }, 2000));
    if (!dialog.HasEnded()) {
        ADD_FAILURE() << "the dialog is still open after the script";
        dialog.EndDialog(IDCANCEL);
    }
    const INT_PTR result = dialog.ModalResult();
    dialog.DestroyModalWindow();
    return result;
}
