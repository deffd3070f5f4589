#pragma once

#include "Afx.h"

// Chooses a password (typed twice) or verifies one against a stored password.
class CPasswordDlg : public CDialog {
public:
    explicit CPasswordDlg(CWnd* pParent = nullptr);

    BYTE m_bChooseMode = 0;  // 1 chooses; anything else verifies
    CString m_strStored;     // result when choosing; input when verifying
    CButton m_btnUnused;
    CButton m_btnOK;
    CString m_strPassword;
    CString m_strConfirm;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    DECLARE_MESSAGE_MAP()
};
