#pragma once

#include <memory>

#include "Com.h"
#include "ControlRegistry.h"
#include "SkinInterface.h"
#include "SkinModel.h"

class BindingTable;

// The skin engine: loads a skin file, gives a window its art and draws
// buttons as the skin's elements.
class SkinControl final : public ComObject<SkinControl, ISkin> {
public:
    SkinControl();

    HRESULT QueryInterface(const IID& riid, void** ppvObject) override;
    HRESULT LoadSkin(const BSTR& path) override;
    HRESULT ApplySkin(HWND window) override;
    HRESULT SetSkinElement(HWND control, const char16_t* element) override;

private:
    std::shared_ptr<const Skin> m_skin;
    std::shared_ptr<BindingTable> m_bindings;
};

// The skin control's widget (which shows nothing) and object, for a dialog.
HostedControl CreateSkinControl(QWidget* parent);
