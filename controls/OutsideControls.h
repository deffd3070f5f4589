#pragma once

#include "ControlRegistry.h"

// Installs the skin engine (CLSID_Skin) and the splash control
// (CLSID_Splash), so that dialogs can host them.
void RegisterOutsideControls(ControlRegistry& registry);
