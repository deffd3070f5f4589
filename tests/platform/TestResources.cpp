// The resources of the platform tests: one small dialog of every kind of control.
#include <array>

#include "Resources.h"
#include "TestResources.h"

namespace {
// clang-format off
constexpr std::array<DialogItemTemplate, 6> kItems{{
    {IDOK, kButtonClass, "OK", 10, 10, 50, 14, 0x50010001},
    {kLabelId, kStaticClass, "Name :", 10, 30, 40, 8, 0x50020000},
    {kNameEditId, kEditClass, "", 60, 28, 80, 14, 0x50810080},
    {kNotesEditId, kEditClass, "", 10, 50, 130, 40, 0x50A11044, 0x200},
    {kHiddenButtonId, kButtonClass, "Hidden", 10, 95, 50, 14, 0x40010000},
    {kDisabledButtonId, kButtonClass, "Off", 70, 95, 50, 14, 0x58010000},
}};
constexpr std::array<DialogTemplate, 1> kDialogs{{
    {kTestDialogId, "Test dialog", 0x80C800C0, 0, 150, 120, "MS Sans Serif", 8, kItems},
}};
constexpr std::array<StringResource, 1> kStrings{{{kTestStringId, "&Test string"}}};
// clang-format on
}  // namespace

const ResourceTable& AfxGetResourceTable() {
    static const ResourceTable table{kDialogs, kStrings, {}};
    return table;
}
