#pragma once

#include <vector>

#include "CString.h"
#include "WinTypes.h"

class QMenu;
class QWidget;

inline constexpr UINT MF_STRING = 0x0000;
inline constexpr UINT MF_SEPARATOR = 0x0800;

// A menu as a list of items; shown as a popup on demand.
class CMenu {
public:
    struct Item {
        UINT flags;
        UINT id;
        CString text;
    };

    BOOL AppendMenu(UINT flags, UINT id = 0, const CString& text = {});
    const std::vector<Item>& Items() const { return m_items; }

private:
    std::vector<Item> m_items;
};
