#pragma once

#include "Afx.h"
#include "SkinInterface.h"

// The splash control's window, reached through automation.
class CSplash : public CWnd {
    DECLARE_DYNCREATE(CSplash)

public:
    static const CLSID& GetClsid() { return CLSID_Splash; }
    BOOL Create(const char* className, const char* windowName, DWORD style, const CRect& rect,
                CWnd* parent, UINT id) override;

    // Hands the control the splash file.
    void SetSplashFile(const CString& path) {
        InvokeHelper(22, DISPATCH_METHOD, VT_EMPTY, nullptr, {path.AllocSysString()});
    }
    // With 0, shows the splash briefly.
    void ShowSplash(std::int32_t mode) {
        InvokeHelper(19, DISPATCH_METHOD, VT_EMPTY, nullptr, {mode});
    }
};
