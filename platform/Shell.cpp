#include "Shell.h"

#include <string_view>

#include "WinApp.h"

namespace {
constexpr INT_PTR kRequestMade = 33;
constexpr INT_PTR kFileNotFound = 2;
constexpr INT_PTR kNoAssociation = 31;
}  // namespace

INT_PTR ShellExecute(HWND /*owner*/, const char* operation, const CString& file,
                     const char* /*parameters*/, const char* /*directory*/, int /*showCommand*/) {
    if (operation && std::string_view(operation) != "open")
        return kNoAssociation;
    return AfxGetApp()->GetInteractions().ShellOpen(file, {}) ? kRequestMade : kFileNotFound;
}

void ShellOpen(const CString& file, const std::function<void()>& failed) {
    if (!AfxGetApp()->GetInteractions().ShellOpen(file, failed) && failed)
        failed();
}
