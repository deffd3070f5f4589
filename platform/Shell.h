#pragma once

#include <functional>

#include "CString.h"
#include "WinTypes.h"

// Asks the desktop to `operation` ("open") `file` with its default handler
// and returns at once. Above 32 means the request was made.
INT_PTR ShellExecute(HWND owner, const char* operation, const CString& file, const char* parameters,
                     const char* directory, int showCommand);

// Opens `file` with the desktop's default handler and returns at once.
// `failed` runs, now or once the handler has given up, when the desktop
// cannot show the file.
void ShellOpen(const CString& file, const std::function<void()>& failed);
