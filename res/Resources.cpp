// The program's dialog templates, string table and icons.
#include <array>

#include "Resources.h"
#include "Version.h"
#include "resource.h"

namespace {
// clang-format off

// About box. Every text starts on one column, right of the icon.
constexpr std::array<DialogItemTemplate, 6> kAboutItems{{
    {-1, kStaticClass, "128", 11, 17, 20, 20, 0x50000003},
    {-1, kStaticClass, version::kAboutLine, 40, 10, 119, 8, 0x50020080},
    {-1, kStaticClass, "Copyright (C) 2026 Brimvale Software", 40, 25, 140, 8, 0x50020000},
    {IDOK, kButtonClass, "OK", 209, 110, 50, 14, 0x50030001},
    {-1, kStaticClass,
     "Brimvale Software\n"
     "makers of small, careful tools for private people\n"
     "Veilnote keeps important information on your computer out of sight, hidden in "
     "ordinary pictures.\n"
     "It lets you exchange important messages with your friends privately.",
     40, 43, 222, 52, 0x50020000},
    {-1, kStaticClass, "Support: support@brimvale.example", 40, 98, 172, 8, 0x50020000},
}};

// Main window. The capacity line sits under the message, on the message view.
constexpr std::array<DialogItemTemplate, 15> kMainItems{{
    {IDCANCEL, kButtonClass, "", 1, 243, 63, 20, 0x50010000},
    {IDC_PICTURE, kStaticClass, "", 107, 115, 15, 13, 0x4000000E},
    {IDC_MESSAGE, kEditClass, "", 108, 115, 218, 133, 0x40A31044, 0x00000210},
    {IDC_CAPACITY, kStaticClass, "", 108, 257, 226, 9, 0x40020000},
    {IDC_VIEWS, kTabControlClass, "Tab1", 347, 256, 16, 13, 0x40010001},
    {IDC_OPENIMAGE, kButtonClass, "", 1, 77, 65, 22, 0x50010001},
    {IDC_LOADTEXT, kButtonClass, "", 1, 77, 65, 22, 0x40010000},
    {IDC_HIDE, kButtonClass, "", 1, 106, 65, 20, 0x40010000},
    {IDC_REVEAL, kButtonClass, "", 1, 106, 65, 20, 0x50010000},
    {IDC_SKIN, "{BA8C584B-209C-4D54-8BB1-8AB5F1DCA18E}", "", 303, 249, 21, 20, 0x40000000},
    {IDC_SPLASH, "{6241AF3F-2B41-41AD-A268-68CD710D34C2}", "", 342, 249, 21, 20, 0x50010000},
    {IDC_IMAGEVIEW, kButtonClass, "", 276, 64, 21, 44, 0x50010000},
    {IDC_MESSAGEVIEW, kButtonClass, "", 303, 64, 21, 44, 0x50010000},
    {IDC_ABOUT, kButtonClass, "", 1, 144, 65, 22, 0x50010000},
    {IDC_HELPBUTTON, kButtonClass, "", 4, 4, 12, 10, 0x50010000},
}};

// Password dialog, laid out for choosing with Seal ticked: the seal row and
// the passphrase's strength line sit between the password rows and the
// buttons. Unticked, the strength line is hidden and the buttons move up into
// its place; verifying drops both rows (see CPasswordDlg).
constexpr std::array<DialogItemTemplate, 8> kPasswordItems{{
    {IDOK, kButtonClass, "OK", 7, 93, 50, 14, 0x50010001},
    {IDC_PASSWORD_LABEL, kStaticClass, "Password :", 7, 8, 36, 8, 0x50020000},
    {IDC_CONFIRM_LABEL, kStaticClass, "Confirm Pw :", 7, 27, 40, 8, 0x50020000},
    {IDC_PASSWORD, kEditClass, "", 52, 6, 85, 14, 0x508100A0},
    {IDC_CONFIRM, kEditClass, "", 52, 26, 85, 14, 0x508100A0},
    {IDC_SEAL, kButtonClass, "Seal the message with the whole password (only Veilnote can then read it)",
     7, 44, 131, 27, 0x50012003},
    {IDC_STRENGTH, kStaticClass, "", 7, 73, 131, 16, 0x40020000},
    {IDC_PASSWORD_CANCEL, kButtonClass, "Cancel", 88, 93, 50, 14, 0x50010000},
}};

constexpr std::array<DialogTemplate, 3> kDialogs{{
    {IDD_ABOUTBOX, "About Veilnote", 0x80C800C0, 0, 269, 131, "MS Sans Serif", 8, kAboutItems},
    {IDD_VEILNOTE_DIALOG, "Veil Note", 0x90CA00C0, 0x00040000, 368, 275, "MS Sans Serif", 8,
     kMainItems},
    {IDD_PASSWORD, "Password", 0x80C800C0, 0, 145, 114, "MS Sans Serif", 8, kPasswordItems},
}};

constexpr std::array<StringResource, 1> kStrings{{
    {IDS_ABOUTBOX, "&About Veilnote..."},
}};

constexpr std::array<IconResource, 1> kIcons{{
    {IDR_MAINFRAME, ":/res/Veilnote.png"},
}};

// clang-format on
}  // namespace

const ResourceTable& AfxGetResourceTable() {
    static const ResourceTable table{kDialogs, kStrings, kIcons};
    return table;
}
