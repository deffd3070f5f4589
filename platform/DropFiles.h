#pragma once

#include <vector>

#include "CString.h"
#include "WinTypes.h"

// The files of one drop on a window, in the order the drag listed them.
struct DropFilesInfo {
    std::vector<CString> files;
};

// What WM_DROPFILES hands its handler; valid while the handler runs.
using HDROP = const DropFilesInfo*;

inline constexpr UINT kDragQueryCount = 0xFFFFFFFF;

// With `file` kDragQueryCount: how many files were dropped. Otherwise the
// length in bytes of the path of file `file`, which `path` (when not null)
// receives; 0 when there is no such file.
UINT DragQueryFile(HDROP drop, UINT file, CString* path);
