#pragma once

#include "CString.h"
#include "WinTypes.h"

// Asks the desktop to `operation` ("open") `file` with its default handler
// and returns at once. Above 32 means the request was made.
INT_PTR ShellExecute(HWND owner, const char* operation, const CString& file, const char* parameters,
                     const char* directory, int showCommand);
