#pragma once

#include "Afx.h"
#include "SkinInterface.h"

// The skin engine's window. The program never makes one: the main window's
// template hosts the engine, and the window reaches it through its IUnknown.
class CSkin : public CWnd {
    DECLARE_DYNCREATE(CSkin)

public:
    static const CLSID& GetClsid() { return CLSID_Skin; }
    BOOL Create(const char* className, const char* windowName, DWORD style, const CRect& rect,
                CWnd* parent, UINT id) override;
};
