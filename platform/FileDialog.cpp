#include "FileDialog.h"

#include <filesystem>

#include <QFileDialog>

#include "TextEncoding.h"
#include "WinApp.h"

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName,
                         DWORD flags, const char* filter, CWnd* /*parent*/)
    : m_bOpenFileDialog(openFileDialog),
      m_defaultExtension(defaultExtension),
      m_initialFileName(fileName),
      m_flags(flags),
      m_filter(filter) {}

INT_PTR CFileDialog::DoModal() {
    return AfxGetApp()->GetInteractions().RunFileDialog(*this);
}

QStringList CFileDialog::NameFilters() const {
    QStringList filters;
    const QStringList parts = BytesToDisplayText(m_filter.Bytes()).split('|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;  // "||" ends the list
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        // Qt reads the patterns from the description's last parentheses: a
        // description that already shows them is taken as it stands.
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        filters << (parts[i].trimmed().endsWith(shown)
                        ? parts[i]
                        : QStringLiteral("%1 %2").arg(parts[i], shown));
    }
    return filters;
}

void CFileDialog::Configure(QFileDialog& box) const {
    box.setOption(QFileDialog::DontUseNativeDialog);
    box.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    box.setFileMode(m_bOpenFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    box.setOption(QFileDialog::DontConfirmOverwrite, !(m_flags & OFN_OVERWRITEPROMPT));
    box.setOption(QFileDialog::ReadOnly, false);
    box.setNameFilters(NameFilters());
    QString suffix = BytesToDisplayText(m_defaultExtension.Bytes());
    if (suffix.startsWith('.'))
        suffix.remove(0, 1);
    box.setDefaultSuffix(suffix);
    if (!m_initialFileName.IsEmpty()) {
        box.selectFile(BytesToDisplayText(m_initialFileName.Bytes()));
    }
}

void CFileDialog::SetChosenPath(const CString& path) {
    m_path = path;
    if (path.IsEmpty() || m_defaultExtension.IsEmpty())
        return;
    if (std::filesystem::path(path.Bytes()).has_extension())
        return;
    const std::string& extension = m_defaultExtension.Bytes();
    m_path += extension.front() == '.' ? CString(extension) : "." + CString(extension);
}
