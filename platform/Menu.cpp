#include "Menu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT id, const CString& text) {
    m_items.push_back({flags, (flags & MF_SEPARATOR) ? 0u : id, text});
    return TRUE;
}
