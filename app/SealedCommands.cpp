#include "SealedCommands.h"

#include <new>

namespace {
constexpr const char* kNoMemoryToSeal = "There is not enough memory to seal this message.";
}  // namespace

std::optional<HideRecords> RecordsFor(const CString& message, const CPasswordDlg& dlgPassword) {
    if (dlgPassword.m_nSeal != BST_CHECKED)
        return HideRecords{dlgPassword.m_strStored, message};
    try {
        return SealedRecords(message.Bytes(), dlgPassword.m_strPassword.Bytes());
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kNoMemoryToSeal);
        return std::nullopt;
    }
}
