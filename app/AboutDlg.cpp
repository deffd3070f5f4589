#include "AboutDlg.h"

#include "resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

const MessageMap& CAboutDlg::GetMessageMap() const {
    static const MessageMap map(&CDialog::GetMessageMap(), {});
    return map;
}
