#pragma once

#include <vector>

#include "Com.h"

class CWinApp;
class DialogWindow;
class QRect;
class QWidget;
struct DialogTemplate;

// Creates the window's controls from `dialogTemplate`, in template (tab)
// order, sized from dialog units. ActiveX controls come from the
// application's registry and their objects are kept in `hosted`. False when a
// control cannot be created, as a dialog then cannot exist.
bool BuildDialog(DialogWindow& window, const DialogTemplate& dialogTemplate, CWinApp& app,
                 std::vector<ComPtr<IUnknown>>& hosted);

// Dialog units to pixels, from the base units of an 8-point dialog font
// (1.5 px across, 1.625 px down at 96 dpi), scaled with the screen.
QRect DialogUnitsToPixels(int x, int y, int cx, int cy);

// Focus on the first visible, enabled tab stop, as a dialog starts.
void FocusFirstTabStop(QWidget& window);
