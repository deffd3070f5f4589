#pragma once

#include <QStringList>

#include "CString.h"
#include "WinTypes.h"

class CWnd;
class QFileDialog;

inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;

// The common Open and Save dialogs. The filter is written in the class
// library's notation: "Description|pattern|...|".
class CFileDialog {
public:
    CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
                const char* fileName = nullptr, DWORD flags = 0, const char* filter = nullptr,
                CWnd* parent = nullptr);

    INT_PTR DoModal();
    // The chosen path; empty after Cancel.
    CString GetPathName() const { return m_path; }

    BOOL IsOpenDialog() const { return m_bOpenFileDialog; }
    const CString& InitialFileName() const { return m_initialFileName; }
    const CString& DefaultExtension() const { return m_defaultExtension; }
    const CString& Filter() const { return m_filter; }
    DWORD Flags() const { return m_flags; }

    // Qt's name filters for the filter: "Pictures|*.bmp;*.dib||" gives
    // "Pictures (*.bmp *.dib)".
    QStringList NameFilters() const;
    // Sets `box` up as this dialog asks.
    void Configure(QFileDialog& box) const;
    // The path chosen, with the default extension added to a name that has
    // none, as the dialogs do.
    void SetChosenPath(const CString& path);

private:
    BOOL m_bOpenFileDialog;
    CString m_defaultExtension;
    CString m_initialFileName;
    DWORD m_flags;
    CString m_filter;
    CString m_path;
};
