#include "SealedCommands.h"

#include <new>

#include "CarrierRecords.h"

namespace {
constexpr const char* kNoMemoryToSeal = "There is not enough memory to seal this message.";
}  // namespace

std::optional<CString> MessageRecordText(const CString& message, const CPasswordDlg& dlgPassword) {
    if (dlgPassword.m_nSeal != BST_CHECKED)
        return message;
    try {
        return CString(SealMessage(message.Bytes(), dlgPassword.m_strPassword.Bytes()));
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kNoMemoryToSeal);
        return std::nullopt;
    }
}

bool PrepareForSealing(const SealReading& sealing, CPasswordDlg& dlgPassword) {
    if (sealing.kind == SealReading::Kind::kBroken) {
        AfxMessageBox(kNoCurtainedData);
        return false;
    }
    dlgPassword.m_pSealedBox = sealing.box ? &*sealing.box : nullptr;
    return true;
}
