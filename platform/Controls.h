#pragma once

#include "CString.h"
#include "Graphics.h"
#include "Wnd.h"

// A button; as a check box it is checked or not.
class CButton : public CWnd {
public:
    int GetCheck() const;  // BST_CHECKED or BST_UNCHECKED
    void SetCheck(int check);
};

// An edit control. It is modified once the user changes its text; setting
// its text from the program clears that.
class CEdit : public CWnd {
public:
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
};

// A static control; as a bitmap picture it holds one bitmap or none.
class CStatic : public CWnd {
public:
    // Gives back the bitmap shown before.
    HBITMAP SetBitmap(HBITMAP bitmap);
    HBITMAP GetBitmap() const;
    // The colour its text is drawn in, where the dialog's own would not say
    // enough (a line that warns as it changes).
    void SetTextColor(COLORREF color);
};

// A tab control. The selection changes that the user makes reach the dialog
// as TCN_SELCHANGE notifications; SetCurSel, like the platform's, sends none.
class CTabCtrl : public CWnd {
public:
    int GetCurSel() const;  // -1 when there is no tab
    int SetCurSel(int item);
    int InsertItem(int item, const CString& text);
};
