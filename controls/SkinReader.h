#pragma once

#include "SectionFile.h"
#include "SkinModel.h"

// A skin file has these sections:
//
//   [skin]            format = 1; name = ...
//   [window]          color = #rrggbb; art <<SVG ... SVG; optional label and
//                     description: what the art says, for screen readers
//   [edit]            optional: base, text, selection, selection-text, border,
//                     focus-border, scroll, radius, padding, font
//   [face NAME]       how a kind of button looks (see FaceReader.h)
//   [element NAME]    face = NAME; label, icon (SVG), tooltip, selected-with,
//                     accessible-name (when the label is a sign, not a word)
//
// Anything unknown, misspelt or out of range makes the whole file malformed,
// so that a mistake in a skin shows at once rather than as a wrong look.
Loaded<Skin> BuildSkin(const SectionList& sections);
Loaded<Skin> ReadSkinFile(const QString& path);
