#pragma once

#include <optional>

#include "Afx.h"
#include "Hiding.h"
#include "PasswordDlg.h"

// The records of a Hide after `dlgPassword` was accepted in choose mode: the
// stored password and the message, or, with Seal ticked, the message sealed
// under the whole password; `window` shows "Sealing..." meanwhile and takes
// no input. Nothing, after a message box, when sealing cannot get the memory
// its key derivation needs.
std::optional<HideRecords> RecordsFor(CWnd& window, const CString& message,
                                      const CPasswordDlg& dlgPassword);
