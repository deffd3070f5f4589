#pragma once

#include <span>
#include <string_view>

#include "WinTypes.h"

// Window styles of dialog templates and their controls.
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_VSCROLL = 0x00200000;
inline constexpr DWORD WS_GROUP = 0x00020000;
inline constexpr DWORD WS_TABSTOP = 0x00010000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;  // on top-level windows
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;  // on top-level windows
inline constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
inline constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
inline constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
inline constexpr DWORD BS_TYPEMASK = 0x0000000F;
inline constexpr DWORD SS_TYPEMASK = 0x0000001F;
inline constexpr DWORD SS_ICON = 0x00000003;
inline constexpr DWORD SS_BITMAP = 0x0000000E;
inline constexpr DWORD SS_NOPREFIX = 0x00000080;
inline constexpr DWORD ES_MULTILINE = 0x00000004;
inline constexpr DWORD ES_PASSWORD = 0x00000020;
inline constexpr DWORD ES_AUTOVSCROLL = 0x00000040;
inline constexpr DWORD ES_AUTOHSCROLL = 0x00000080;
inline constexpr DWORD ES_WANTRETURN = 0x00001000;

// Control classes of dialog items; an ActiveX control is named by its class ID.
inline constexpr std::string_view kButtonClass = "Button";
inline constexpr std::string_view kStaticClass = "Static";
inline constexpr std::string_view kEditClass = "Edit";
inline constexpr std::string_view kTabControlClass = "SysTabControl32";

// One control of a dialog template. Positions and sizes are dialog units.
// For an icon static, `text` is the icon's resource ID in decimal.
struct DialogItemTemplate {
    int id;
    std::string_view controlClass;
    std::string_view text;
    int x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
};

// A dialog template: the window and its controls in tab order.
struct DialogTemplate {
    UINT id;
    std::string_view caption;
    DWORD style;
    DWORD exStyle;
    int cx, cy;
    std::string_view fontName;
    int pointSize;
    std::span<const DialogItemTemplate> items;
};

struct StringResource {
    UINT id;
    std::string_view text;
};

// An icon, as a Qt resource path of its image.
struct IconResource {
    UINT id;
    std::string_view path;
};

struct ResourceTable {
    std::span<const DialogTemplate> dialogs;
    std::span<const StringResource> strings;
    std::span<const IconResource> icons;
};

// The resources of the running program. Every executable links exactly one
// definition of it: the program its own, a test its own.
const ResourceTable& AfxGetResourceTable();

const DialogTemplate* FindDialogTemplate(UINT id);
// The string, or an empty view when there is none of that ID.
std::string_view FindStringResource(UINT id);
std::string_view FindIconResource(UINT id);
