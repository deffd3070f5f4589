#pragma once

#include "SectionFile.h"

// The [edit] section of a skin, as a Qt style sheet for the window's text
// editors and their scroll bars. Keys, all optional:
//   base, text, selection, selection-text, border, focus-border, scroll (the
//   scroll bar's handle): colours;  radius, padding: pixels;  font.
Loaded<QString> ReadEditStyle(const FileSection& section);
