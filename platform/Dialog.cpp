#include "Dialog.h"

#include "DialogBuilder.h"
#include "DialogWindow.h"
#include "Resources.h"
#include "WinApp.h"

CDialog::CDialog(UINT templateId, CWnd* parent) : m_nIDTemplate(templateId), m_pParentWnd(parent) {}

void CDialog::MapDialogRect(CRect* rect) const {
    if (!rect)
        return;
    // Origin and size are turned separately, as the builder turns a control's.
    const QRect pixels = DialogUnitsToPixels(rect->left, rect->top, rect->Width(), rect->Height());
    *rect =
        CRect{pixels.x(), pixels.y(), pixels.x() + pixels.width(), pixels.y() + pixels.height()};
}

CDialog::~CDialog() {
    DestroyModalWindow();
}

INT_PTR CDialog::DoModal() {
    return AfxGetApp()->GetInteractions().RunModal(*this);
}

BOOL CDialog::CreateModalWindow() {
    const DialogTemplate* dialogTemplate = FindDialogTemplate(m_nIDTemplate);
    CWinApp* app = AfxGetApp();
    if (!dialogTemplate || !app)
        return FALSE;

    // A dialog without a parent is owned by the main window, if there is one.
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    QWidget* ownerWidget = owner && owner != this ? owner->GetSafeHwnd() : nullptr;

    m_window = std::make_unique<DialogWindow>(*this, ownerWidget);
    m_bEnded = false;
    m_nModalResult = -1;
    if (!BuildDialog(*m_window, *dialogTemplate, *app, m_hostedControls)) {
        DestroyModalWindow();
        return FALSE;
    }
    Attach(m_window.get());
    CallOnInitDialog();
    return TRUE;
}

void CDialog::CallOnInitDialog() {
    if (OnInitDialog() && !m_bEnded)
        FocusFirstTabStop(*m_window);
}

void CDialog::RunModalLoop() {
    if (m_window && !m_bEnded)
        m_window->exec();
}

void CDialog::DestroyModalWindow() {
    Attach(nullptr);
    m_window.reset();
    m_hostedControls.clear();
}

void CDialog::EndDialog(int result) {
    m_nModalResult = result;
    m_bEnded = true;
    if (m_window)
        m_window->done(result);
}

void CDialog::SendCommand(int id) {
    MessageContext context{WM_COMMAND, BN_CLICKED, id};
    OnWndMsg(context);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::OnClose() {
    SendCommand(IDCANCEL);
}

const MessageMap& CDialog::GetMessageMap() const {
    using Map = MessageMapFor<CDialog>;
    static const MessageMap map(
        &CCmdTarget::GetMessageMap(),
        {Map::Clicked(IDOK, &CDialog::OnOK), Map::Clicked(IDCANCEL, &CDialog::OnCancel)});
    return map;
}
