#pragma once

#include <optional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "BitmapFiles.h"

// Asked before Load text (or a dropped text file) replaces a typed message.
inline constexpr const char* kReplaceWithLoadedText =
    "The message you typed has not been hidden in a saved image. Replace it with the loaded text?";

// The main window's commands, acted out on real files through the script.
class CommandsFixture : public AppFixture {
protected:
    std::string Write(const std::string& name, const Bytes& bytes) {
        return WriteFile(m_folder, name, bytes);
    }
    std::string PathOf(const std::string& name) const {
        return m_folder.filePath(QString::fromStdString(name)).toStdString();
    }

    // Open image with `path` chosen (nullopt: cancelled).
    void Open(CVeilnoteDlg& dlg, const std::optional<std::string>& path);
    // Switches to the message view and types `text` into the message edit.
    void TypeMessage(CVeilnoteDlg& dlg, const QString& text);
    // The password dialog comes up in choose mode; the user types `password`
    // twice and clicks OK.
    void ExpectPasswordChosen(const QString& password);
    // The password dialog comes up in verify mode; the user types `password`
    // and clicks OK.
    void ExpectPasswordGiven(const QString& password);
    // Hide with `password`, saving to `savePath` (nullopt: save cancelled).
    void Hide(CVeilnoteDlg& dlg, const QString& password,
              const std::optional<std::string>& savePath);
    // Clicks Hide or Reveal on their own view, with whatever is scripted.
    void ClickHide(CVeilnoteDlg& dlg);
    void ClickReveal(CVeilnoteDlg& dlg);

    static QString MessageShown(CVeilnoteDlg& dlg) { return TextOf(dlg, IDC_MESSAGE); }
    static Bytes Carrier(const CVeilnoteDlg& dlg);
};

// The records of a carrier, read and written with the engine itself.
std::string RecordOf(const Bytes& carrier, int start);
Bytes WithHiddenMessage(Bytes carrier, const std::string& password, const std::string& message);
// The exit code of veilnote-cli with `arguments`; its standard output in `out`.
int RunCli(const QStringList& arguments, std::string& out);
