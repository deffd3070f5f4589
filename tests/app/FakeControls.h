#pragma once

#include <string>
#include <vector>

#include <QWidget>

#include "Afx.h"
#include "SkinInterface.h"

// What the window asked of the outside controls, in order.
struct ControlCalls {
    std::vector<std::string> calls;
    HRESULT loadResult = S_OK;
    HRESULT applyResult = S_OK;
    bool offerSkinInterface = true;
};

// A skin engine and a splash control that record every call into `calls`
// and answer load and apply as told.
void RegisterRecordingControls(ControlRegistry& registry, ControlCalls& calls);
