#include "Interactions.h"

#include <filesystem>

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

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
}  // namespace

int RealInteractions::MessageBox(CWnd* owner, const CString& text, const CString& caption,
                                 UINT type) {
    QMessageBox box(OwnerWidget(owner));
    box.setWindowTitle(BytesToDisplayText(caption.Bytes()));
    box.setText(BytesToDisplayText(text.Bytes()));
    box.setTextFormat(Qt::PlainText);
    box.setIcon((type & MB_ICONEXCLAMATION) == MB_ICONEXCLAMATION ? QMessageBox::Warning
                                                                  : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return IDOK;
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

bool RealInteractions::ShellOpen(const CString& path) {
    // A missing file opens nothing and tells nothing: the caller never looks.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path.Bytes(), error))
        return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path.Bytes())));
}
