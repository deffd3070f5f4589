#include "DataExchange.h"

#include "Controls.h"
#include "Wnd.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.GetSafeHwnd())
        return;
    control.Attach(FindControl(pDX->m_pDlgWnd->GetSafeHwnd(), id));
}

void DDX_Text(CDataExchange* pDX, int id, CString& value) {
    CWnd* control = pDX->m_pDlgWnd->GetDlgItem(id);
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = control->GetWindowText();
    } else {
        control->SetWindowText(value);
    }
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    auto* control = static_cast<CButton*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!control)
        return;
    if (pDX->m_bSaveAndValidate) {
        value = control->GetCheck();
    } else {
        control->SetCheck(value);
    }
}
