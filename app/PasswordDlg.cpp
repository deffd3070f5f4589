#include "PasswordDlg.h"

#include "PasswordRules.h"
#include "resource.h"

CPasswordDlg::CPasswordDlg(CWnd* pParent)
    : CDialog(IDD_PASSWORD, pParent), m_strStored(""), m_strPassword(""), m_strConfirm("") {}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDX_Text(pDX, IDC_CONFIRM, m_strConfirm);
}

const MessageMap& CPasswordDlg::GetMessageMap() const {
    using Map = MessageMapFor<CPasswordDlg>;
    static const MessageMap map(&CDialog::GetMessageMap(),
                                {Map::Clicked(IDC_PASSWORD_CANCEL, &CPasswordDlg::OnCancel)});
    return map;
}

BOOL CPasswordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const int nShow = m_bChooseMode == 1 ? SW_SHOW : SW_HIDE;
    GetDlgItem(IDC_CONFIRM)->ShowWindow(nShow);
    GetDlgItem(IDC_CONFIRM_LABEL)->ShowWindow(nShow);
    GetDlgItem(IDC_PASSWORD)->SetFocus();
    return TRUE;
}

void CPasswordDlg::OnOK() {
    UpdateData(TRUE);
    if (m_bChooseMode == 1) {
        if (const auto refusal = CheckChosenPassword(m_strPassword, m_strConfirm)) {
            AfxMessageBox(CString(*refusal));
            return;
        }
        m_strStored = CString(StoredForm(m_strPassword));
        CDialog::OnOK();
        return;
    }

    m_strPassword = CString(StoredForm(m_strPassword));
    if (m_strPassword == m_strStored) {
        CDialog::OnOK();
        return;
    }
    AfxMessageBox(kPasswordInvalid);
    m_strPassword.Empty();
    UpdateData(FALSE);
    GetDlgItem(IDC_PASSWORD)->SetFocus();  // ready for the next try
}

void CPasswordDlg::OnCancel() {
    CDialog::OnCancel();
}
