#include "Skin.h"

IMPLEMENT_DYNCREATE(CSkin)

BOOL CSkin::Create(const char* /*className*/, const char* windowName, DWORD style,
                   const CRect& rect, CWnd* parent, UINT id) {
    return CreateControl(GetClsid(), windowName, style, rect, parent, id);
}
