#pragma once

#include <optional>

#include "Afx.h"
#include "PasswordDlg.h"
#include "SealedCarrier.h"

// What sealing adds to the main window's Hide and Reveal.

// The message record's text for a Hide after `dlgPassword` was accepted in
// choose mode: the message itself, or, with Seal ticked, the message sealed
// under the whole password. Nothing, after a message box, when sealing
// cannot get the memory its key derivation needs.
std::optional<CString> MessageRecordText(const CString& message, const CPasswordDlg& dlgPassword);

// Readies the verify-mode `dlgPassword` for the carrier `sealing` describes,
// before it runs: a sealed carrier's box is opened by the whole password.
// False, after "Image does not contain curtained data ..", when the carrier
// bears the marks of a sealed one but holds no well-formed box.
bool PrepareForSealing(const SealReading& sealing, CPasswordDlg& dlgPassword);
