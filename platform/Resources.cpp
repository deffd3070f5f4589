#include "Resources.h"

#include <algorithm>

namespace {
template <class Range>
auto FindById(const Range& range, UINT id) {
    return std::find_if(range.begin(), range.end(),
                        [id](const auto& item) { return item.id == id; });
}
}  // namespace

const DialogTemplate* FindDialogTemplate(UINT id) {
    const auto& dialogs = AfxGetResourceTable().dialogs;
    const auto found = FindById(dialogs, id);
    return found == dialogs.end() ? nullptr : &*found;
}

std::string_view FindStringResource(UINT id) {
    const auto& strings = AfxGetResourceTable().strings;
    const auto found = FindById(strings, id);
    return found == strings.end() ? std::string_view{} : found->text;
}

std::string_view FindIconResource(UINT id) {
    const auto& icons = AfxGetResourceTable().icons;
    const auto found = FindById(icons, id);
    return found == icons.end() ? std::string_view{} : found->path;
}
