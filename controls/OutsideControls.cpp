#include "OutsideControls.h"

#include "SkinControl.h"
#include "SkinInterface.h"
#include "SplashControl.h"

void RegisterOutsideControls(ControlRegistry& registry) {
    registry.Register(CLSID_Skin, &CreateSkinControl);
    registry.Register(CLSID_Splash, &CreateSplashControl);
}
