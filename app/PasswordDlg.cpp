#include "PasswordDlg.h"

#include <new>

#include "BusyWork.h"
#include "PassphraseStrength.h"
#include "PasswordRules.h"
#include "SecretText.h"
#include "resource.h"

namespace {
constexpr const char* kNoMemoryToOpen = "There is not enough memory to open this sealed message.";
constexpr const char* kOpening = "Opening...";
constexpr const char* kSealAnyway = "Seal the message with this passphrase anyway?";
// Verifying has neither the Confirm row nor the seal row: the buttons take
// the Confirm row's place, and the dialog ends below them, as far below as
// the choosing layout does (dialog units).
constexpr int kCompactWidth = 145;
constexpr int kCompactHeight = 48;
constexpr int kCompactButtonRow = 27;
// Choosing without Seal ticked: the strength line's row is left out.
constexpr int kUnsealedHeight = 96;
constexpr int kUnsealedButtonRow = 75;
constexpr int kSealedHeight = 114;
constexpr int kSealedButtonRow = 93;
constexpr int kOKColumn = 7;
constexpr int kCancelColumn = 88;

// Overwrites the text's bytes, then empties it: a password must not linger
// in memory that is given back.
void Wipe(CString& text) {
    WipeBytes(text.GetBuffer(), static_cast<std::size_t>(text.GetLength()));
    text.Empty();
}

// Places control `id` at (x, y) dialog units, keeping its size.
void MoveControl(CDialog& dialog, int id, int x, int y) {
    CRect rect{x, y, x, y};
    dialog.MapDialogRect(&rect);
    dialog.GetDlgItem(id)->SetWindowPos(nullptr, rect.left, rect.top, 0, 0,
                                        SWP_NOSIZE | SWP_NOZORDER);
}

// Puts the buttons on row `buttonRow` and ends the dialog `height` units down.
void PlaceButtons(CDialog& dialog, int buttonRow, int width, int height) {
    MoveControl(dialog, IDOK, kOKColumn, buttonRow);
    MoveControl(dialog, IDC_PASSWORD_CANCEL, kCancelColumn, buttonRow);
    CRect size{0, 0, width, height};
    dialog.MapDialogRect(&size);
    dialog.SetWindowPos(nullptr, 0, 0, size.Width(), size.Height(), SWP_NOMOVE | SWP_NOZORDER);
}
}  // namespace

CPasswordDlg::CPasswordDlg(CWnd* pParent)
    : CDialog(IDD_PASSWORD, pParent), m_strStored(""), m_strPassword(""), m_strConfirm("") {}

CPasswordDlg::~CPasswordDlg() {
    Wipe(m_strPassword);
    Wipe(m_strConfirm);
    Wipe(m_strStored);
}

void CPasswordDlg::WipeEntries() {
    // Setting a field's text drops its undo history too. Qt gives its own
    // copy of the text back unwiped: that is as far as a field can be cleared.
    for (const int id : {IDC_PASSWORD, IDC_CONFIRM}) {
        if (CWnd* pEdit = GetDlgItem(id))
            pEdit->SetWindowText("");
    }
    Wipe(m_strConfirm);
    if (!(m_bChooseMode == 1 && m_nSeal == BST_CHECKED))
        Wipe(m_strPassword);
}

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
        PlaceButtons(*this, kCompactButtonRow, kCompactWidth, kCompactHeight);
    } else {
        OnSealingInputChanged();
    }
    // FALSE keeps this focus: a password typed as soon as the dialog opens
    // must land in its field, not on OK.
    GetDlgItem(IDC_PASSWORD)->SetFocus();
    return FALSE;
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
        WipeEntries();
        return;
    }
    if (m_pSealedCarrier) {
        OnOKSealed();
        return;
    }

    if (MatchesStored(m_strPassword.Bytes(), m_strStored.Bytes())) {
        CDialog::OnOK();
        WipeEntries();
        return;
    }
    AfxMessageBox(kPasswordInvalid);
    Wipe(m_strPassword);
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
    Wipe(m_strPassword);
    if (opened) {
        m_secMessage = *std::move(opened);
        CDialog::OnOK();
        WipeEntries();
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
    // Unticked, the line's row is left out rather than left empty.
    PlaceButtons(*this, sealing ? kSealedButtonRow : kUnsealedButtonRow, kCompactWidth,
                 sealing ? kSealedHeight : kUnsealedHeight);
}

void CPasswordDlg::OnCancel() {
    CDialog::OnCancel();
    WipeEntries();
}
