#pragma once

#include <vector>

#include "CString.h"

class QMimeData;
class QWidget;

// The local files a drag carries, in its order; empty when it carries none.
std::vector<CString> DraggedFiles(const QMimeData* mime);

// Makes `control` decline drags of files, so that they go on to its window, as
// they do for controls that take no files. Drags of text stay with it.
void PassFileDragsToWindow(QWidget* control);
