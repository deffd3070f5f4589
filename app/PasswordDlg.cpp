#include "PasswordDlg.h"

#include <new>

#include "BusyWork.h"
#include "PassphraseStrength.h"
#include "PasswordRules.h"
#include "resource.h"

namespace {
constexpr const char* kNoMemoryToOpen = "There is not enough memory to open this sealed message.";
constexpr const char* kOpening = "Opening...";
constexpr const char* kSealAnyway = "Seal the message with this passphrase anyway?";
// Verifying has no seal row: the dialog keeps the size it had before that
// row existed, with the buttons where the row would be (dialog units).
constexpr int kCompactWidth = 145;
constexpr int kCompactHeight = 65;
constexpr int kCompactButtonRow = 44;
constexpr int kOKColumn = 7;
constexpr int kCancelColumn = 88;

// Places control `id` at (x, y) dialog units, keeping its size.
void MoveControl(CDialog& dialog, int id, int x, int y) {
    CRect rect{x, y, x, y};
    dialog.MapDialogRect(&rect);
    dialog.GetDlgItem(id)->SetWindowPos(nullptr, rect.left, rect.top, 0, 0,
                                        SWP_NOSIZE | SWP_NOZORDER);
}
}  // namespace

CPasswordDlg::CPasswordDlg(CWnd* pParent)
    : CDialog(IDD_PASSWORD, pParent), m_strStored(""), m_strPassword(""), m_strConfirm("") {}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_btnOK);
    DDX_Control(pDX, IDC_SEAL, m_btnSeal);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDX_Text(pDX, IDC_CONFIRM, m_strConfirm);
    DDX_Check(pDX, IDC_SEAL, m_nSeal);
}

const MessageMap& CPasswordDlg::GetMessageMap() const {
    using Map = MessageMapFor<CPasswordDlg>;
    static const MessageMap map(&CDialog::GetMessageMap(),
                                {Map::Clicked(IDC_PASSWORD_CANCEL, &CPasswordDlg::OnCancel),
                                 Map::Clicked(IDC_SEAL, &CPasswordDlg::OnSealingInputChanged),
                                 Map::Changed(IDC_PASSWORD, &CPasswordDlg::OnSealingInputChanged)});
    return map;
}

BOOL CPasswordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const int nShow = m_bChooseMode == 1 ? SW_SHOW : SW_HIDE;
    GetDlgItem(IDC_CONFIRM)->ShowWindow(nShow);
    GetDlgItem(IDC_CONFIRM_LABEL)->ShowWindow(nShow);
    if (m_bChooseMode != 1) {
        GetDlgItem(IDC_SEAL)->ShowWindow(SW_HIDE);
        MoveControl(*this, IDOK, kOKColumn, kCompactButtonRow);
        MoveControl(*this, IDC_PASSWORD_CANCEL, kCancelColumn, kCompactButtonRow);
        CRect size{0, 0, kCompactWidth, kCompactHeight};
        MapDialogRect(&size);
        SetWindowPos(nullptr, 0, 0, size.Width(), size.Height(), SWP_NOMOVE | SWP_NOZORDER);
    }
    GetDlgItem(IDC_PASSWORD)->SetFocus();
    return TRUE;
}

void CPasswordDlg::OnOK() {
    UpdateData(TRUE);
    if (m_bChooseMode == 1) {
        const bool sealing = m_nSeal == BST_CHECKED;
        if (const auto refusal =
                CheckChosenPassword(m_strPassword.Bytes(), m_strConfirm.Bytes(),
                                    sealing ? PasswordUse::kSealed : PasswordUse::kPlain)) {
            AfxMessageBox(CString(*refusal));
            return;
        }
        // No keeps the dialog open for a stronger passphrase.
        if (sealing) {
            const PassphraseEstimate estimate = EstimatePassphrase(m_strPassword.Bytes());
            if (estimate.strength == PassphraseStrength::kWeak &&
                AfxMessageBox(CString(WeakPassphraseWarning(estimate)) + "\n\n" + kSealAnyway,
                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
                GetDlgItem(IDC_PASSWORD)->SetFocus();
                return;
            }
        }
        m_strStored = CString(sealing ? SealedStoredForm() : StoredForm(m_strPassword.Bytes()));
        CDialog::OnOK();
        return;
    }
    if (m_pSealedCarrier) {
        OnOKSealed();
        return;
    }

    if (MatchesStored(m_strPassword.Bytes(), m_strStored.Bytes())) {
        CDialog::OnOK();
        return;
    }
    AfxMessageBox(kPasswordInvalid);
    m_strPassword.Empty();
    UpdateData(FALSE);
    GetDlgItem(IDC_PASSWORD)->SetFocus();  // ready for the next try
}

void CPasswordDlg::OnOKSealed() {
    std::optional<SecretText> opened;
    try {
        // The key derivation takes a noticeable moment; the dialog stays
        // painted and takes no second OK meanwhile.
        opened = RunWhileBusy(*this, kOpening, [this] {
            return m_pSealedCarrier->OpenSealed(m_strPassword.Bytes());
        });
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kNoMemoryToOpen);
        return;
    }
    m_strPassword.Empty();
    if (opened) {
        m_secMessage = *std::move(opened);
        CDialog::OnOK();
        return;
    }
    AfxMessageBox(kPasswordInvalid);
    UpdateData(FALSE);
}

void CPasswordDlg::OnSealingInputChanged() {
    if (m_bChooseMode != 1)
        return;
    CWnd* line = GetDlgItem(IDC_STRENGTH);
    const bool sealing = m_btnSeal.GetCheck() == BST_CHECKED;
    const CString passphrase = GetDlgItem(IDC_PASSWORD)->GetWindowText();
    // The line is a label: a screen reader reads its text as it is shown.
    // Nothing typed yet is not yet weak.
    line->SetWindowText(sealing && !passphrase.IsEmpty()
                            ? CString(EstimatePassphrase(passphrase.Bytes()).hint)
                            : CString(""));
    line->ShowWindow(sealing ? SW_SHOW : SW_HIDE);
}

void CPasswordDlg::OnCancel() {
    CDialog::OnCancel();
}
