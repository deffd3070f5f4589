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
    // Wrappers of one widget agree, so a button wrapper of our own will do.
    CButton button;
    button.Attach(FindControl(pDX->m_pDlgWnd->GetSafeHwnd(), id));
    if (!button.GetSafeHwnd())
        return;
    if (pDX->m_bSaveAndValidate) {
        value = button.GetCheck();
    } else {
        button.SetCheck(value);
    }
}
