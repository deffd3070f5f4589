#include "Interactions.h"

#include <filesystem>
#include <utility>
#include <vector>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

#include "Dialog.h"
#include "FileDialog.h"
#include "TextEncoding.h"
#include "WinApp.h"

namespace {
// Boxes and dialogs go over the dialog the user is working in: the innermost
// modal one, else the owner's window.
QWidget* OwnerWidget(CWnd* owner) {
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (owner && owner->GetSafeHwnd())
        return owner->GetSafeHwnd()->window();
    return nullptr;
}

QMessageBox::Icon BoxIcon(UINT icon) {
    switch (icon & MB_ICONMASK) {
        case MB_ICONSTOP:
            return QMessageBox::Critical;
        case MB_ICONQUESTION:
            return QMessageBox::Question;
        case MB_ICONEXCLAMATION:
            return QMessageBox::Warning;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QMessageBox::ButtonRole AnswerRole(int id) {
    switch (id) {
        case IDOK:
            return QMessageBox::AcceptRole;
        case IDYES:
            return QMessageBox::YesRole;
        case IDNO:
            return QMessageBox::NoRole;
        case IDCANCEL:
            return QMessageBox::RejectRole;
        default:
            return QMessageBox::ActionRole;
    }
}
}  // namespace

int RealInteractions::MessageBox(CWnd* owner, const MessageBoxRequest& request) {
    QMessageBox box(OwnerWidget(owner));
    box.setWindowTitle(BytesToDisplayText(request.caption.Bytes()));
    box.setText(BytesToDisplayText(request.text.Bytes()));
    box.setTextFormat(Qt::PlainText);
    box.setIcon(BoxIcon(request.icon));
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (const MessageBoxAnswer& answer : request.answers) {
        QPushButton* button =
            box.addButton(BytesToDisplayText(answer.label.Bytes()), AnswerRole(answer.id));
        buttons.emplace_back(button, answer.id);
        if (answer.id == request.defaultAnswer)
            box.setDefaultButton(button);
        if (answer.id == request.EscapeAnswer())
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto& [button, id] : buttons) {
        if (box.clickedButton() == button)
            return id;
    }
    return request.EscapeAnswer() != 0 ? request.EscapeAnswer() : request.defaultAnswer;
}

INT_PTR RealInteractions::RunFileDialog(CFileDialog& dialog) {
    QFileDialog box(OwnerWidget(nullptr));
    dialog.Configure(box);
    if (box.exec() != QDialog::Accepted || box.selectedFiles().isEmpty()) {
        dialog.SetChosenPath({});
        return IDCANCEL;
    }
    dialog.SetChosenPath(CString(box.selectedFiles().front().toStdString()));
    return IDOK;
}

INT_PTR RealInteractions::RunModal(CDialog& dialog) {
    if (!dialog.CreateModalWindow())
        return -1;
    dialog.RunModalLoop();
    const INT_PTR result = dialog.ModalResult();
    dialog.DestroyModalWindow();
    return result;
}

bool RealInteractions::ShellOpen(const CString& path, std::function<void()> failedLater) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path.Bytes(), error))
        return false;
    // The desktop's opener, watched to its end: it fails when no program can
    // show the file. Owned by the application until it has ended.
    auto* opener = new QProcess(QCoreApplication::instance());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(
        opener, &QProcess::finished, opener,
        [opener, failedLater = std::move(failedLater)](int exitCode, QProcess::ExitStatus status) {
            opener->deleteLater();
            if ((status != QProcess::NormalExit || exitCode != 0) && failedLater)
                failedLater();
        });
    opener->start(QStringLiteral("xdg-open"), {QString::fromStdString(path.Bytes())});
    if (!opener->waitForStarted()) {
        opener->deleteLater();
        return false;
    }
    return true;
}
