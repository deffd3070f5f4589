#pragma once

#include "Com.h"
#include "WinTypes.h"

// The skin engine control and its interface.
inline constexpr CLSID CLSID_Skin = MakeGuid("{BA8C584B-209C-4D54-8BB1-8AB5F1DCA18E}");
inline constexpr IID IID_ISkin = MakeGuid("{92AEA298-248E-45DB-97B6-A8C7CD5892E7}");

class ISkin : public IUnknown {
public:
    // Loads a skin file; fails when it is missing, unreadable or malformed.
    virtual HRESULT LoadSkin(const BSTR& path) = 0;
    // Gives `window` the loaded skin's background; fails when nothing is loaded.
    virtual HRESULT ApplySkin(HWND window) = 0;
    // Draws `control` as the named element of the loaded skin (zero-terminated).
    virtual HRESULT SetSkinElement(HWND control, const char16_t* element) = 0;

protected:
    ~ISkin() = default;
};

// The splash control: dispatch 22 takes the splash file's path (string),
// dispatch 19 with 0 shows it briefly.
inline constexpr CLSID CLSID_Splash = MakeGuid("{6241AF3F-2B41-41AD-A268-68CD710D34C2}");
inline constexpr DISPID DISPID_SPLASH_FILE = 22;
inline constexpr DISPID DISPID_SPLASH_SHOW = 19;
