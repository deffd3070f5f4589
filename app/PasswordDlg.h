#pragma once

#include "Afx.h"
#include "Revealing.h"

// Chooses a password (typed twice) or verifies one against a stored password,
// or, for a sealed carrier, by opening its box with the whole password.
class CPasswordDlg : public CDialog {
public:
    explicit CPasswordDlg(CWnd* pParent = nullptr);
    // Wipes whatever of the password the caller has not taken.
    ~CPasswordDlg() override;
    CPasswordDlg(const CPasswordDlg&) = delete;
    CPasswordDlg& operator=(const CPasswordDlg&) = delete;

    BYTE m_bChooseMode = 0;  // 1 chooses; anything else verifies
    CString m_strStored;     // result when choosing; input when verifying
    CButton m_btnUnused;
    CButton m_btnOK;
    CButton m_btnSeal;
    CString m_strPassword;
    CString m_strConfirm;
    // Choose mode: the seal check box. When it is ticked, the password may be
    // a passphrase of up to 128 bytes, a weak one is asked about, an accepted
    // OK sets m_strStored to the sealed carriers' stored form, and the whole
    // password stays in m_strPassword for sealing the message.
    int m_nSeal = BST_UNCHECKED;
    // Verify mode: when set, the entry must open this sealed carrier's box
    // (m_strStored is then ignored), and an accepted OK leaves the message in
    // m_secMessage.
    const CarrierReading* m_pSealedCarrier = nullptr;
    SecretText m_secMessage;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnOKSealed();
    // Empties both password fields, and wipes what this dialog keeps of the
    // entry that its caller does not read: all of it unless a choice to seal
    // leaves the whole password for sealing.
    void WipeEntries();
    // Seal ticked: how guessable the typed passphrase is, shown live.
    void OnSealingInputChanged();

    DECLARE_MESSAGE_MAP()
};
