#include "SealedCommands.h"

#include <new>

#include "BusyWork.h"

namespace {
constexpr const char* kNoMemoryToSeal = "There is not enough memory to seal this message.";
constexpr const char* kSealing = "Sealing...";
}  // namespace

std::optional<HideRecords> RecordsFor(CWnd& window, const CString& message,
                                      const CPasswordDlg& dlgPassword) {
    if (dlgPassword.m_nSeal != BST_CHECKED)
        return HideRecords{dlgPassword.m_strStored, message};
    try {
        // The key derivation takes a noticeable moment: the window keeps
        // painting, and takes no second command meanwhile.
        return RunWhileBusy(window, kSealing, [&] {
            return SealedRecords(message.Bytes(), dlgPassword.m_strPassword.Bytes());
        });
    } catch (const std::bad_alloc&) {
        AfxMessageBox(kNoMemoryToSeal);
        return std::nullopt;
    }
}
