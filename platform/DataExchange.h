#pragma once

#include "CString.h"
#include "WinTypes.h"

class CWnd;

// One run of data exchange between a window's controls and its members.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    BOOL m_bSaveAndValidate;  // TRUE: controls into members
    CWnd* m_pDlgWnd;
};

// Binds `control` to the dialog's control `id` (once; later runs keep it).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// Moves the text of control `id` to or from `value`, unchanged.
void DDX_Text(CDataExchange* pDX, int id, CString& value);
// Moves the state of check box `id` to or from `value` (BST_CHECKED or not).
void DDX_Check(CDataExchange* pDX, int id, int& value);
