#pragma once

#include "SectionFile.h"
#include "SkinModel.h"

// A [face NAME] section. Face-wide keys:
//   radius = R | TL TR BR BL     font = Family, 12px[, bold]
//   layout = row|column|center   padding, icon-size, gap, press-shift (pixels)
//   bar-edge = left|top|right|bottom   bar-width   focus = COLOUR
// Look keys, for the normal state as written and for the other states with a
// prefix (hover.fill, pressed.border, selected.bar, disabled.ink):
//   fill = COLOUR [COLOUR]   border   ink   icon   highlight   bar
// A state takes the normal look for every key it does not give; icon follows
// ink unless it is given.
Loaded<Face> ReadFace(const FileSection& section);
