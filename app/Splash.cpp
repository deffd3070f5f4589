#include "Splash.h"

IMPLEMENT_DYNCREATE(CSplash)

BOOL CSplash::Create(const char* /*className*/, const char* windowName, DWORD style,
                     const CRect& rect, CWnd* parent, UINT id) {
    return CreateControl(GetClsid(), windowName, style, rect, parent, id);
}
