#pragma once

#include "Afx.h"

// The splash control, reached through automation.
class CSplash : public CWnd {
public:
    // Hands the control the splash file.
    void SetSplashFile(const CString& path) {
        InvokeHelper(22, DISPATCH_METHOD, VT_EMPTY, nullptr, {path.AllocSysString()});
    }
    // With 0, shows the splash briefly.
    void ShowSplash(std::int32_t mode) {
        InvokeHelper(19, DISPATCH_METHOD, VT_EMPTY, nullptr, {mode});
    }
};
