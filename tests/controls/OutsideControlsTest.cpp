// Hosting the two controls through the control registry, and how long their
// objects live.

#include "OutsideControls.h"

#include <gtest/gtest.h>

#include <QWidget>

#include "ControlResults.h"
#include "SkinControl.h"
#include "SkinInterface.h"

namespace {

TEST(OutsideControls, RegistryCreatesBothControlsInTheirDialog) {
    ControlRegistry registry;
    RegisterOutsideControls(registry);
    QWidget dialog;
    for (const CLSID& clsid : {CLSID_Skin, CLSID_Splash}) {
        const HostedControl control = registry.Create(clsid, &dialog);
        ASSERT_NE(control.widget, nullptr);
        EXPECT_EQ(control.widget->parentWidget(), &dialog);
        ASSERT_TRUE(control.unknown);
    }
    ComPtr<ISkin> skin;
    EXPECT_EQ(
        registry.Create(CLSID_Skin, &dialog).unknown->QueryInterface(IID_ISkin, skin.ReceiveVoid()),
        S_OK);
    ComPtr<IDispatch> splash;
    EXPECT_EQ(registry.Create(CLSID_Splash, &dialog)
                  .unknown->QueryInterface(IID_IDispatch, splash.ReceiveVoid()),
              S_OK);
}

TEST(OutsideControls, ObjectLivesAsLongAsItsWidgetOrItsUsers) {
    auto dialog = std::make_unique<QWidget>();
    HostedControl control = CreateSkinControl(dialog.get());
    ComPtr<ISkin> skin;
    ASSERT_EQ(control.unknown->QueryInterface(IID_ISkin, skin.ReceiveVoid()), S_OK);
    const auto* object = static_cast<SkinControl*>(skin.Get());
    EXPECT_EQ(object->RefCount(), 3u);  // the widget, the host's pointer and ours

    control.unknown.Release();
    EXPECT_EQ(object->RefCount(), 2u);
    dialog.reset();  // takes the widget, and its reference, with it
    EXPECT_EQ(object->RefCount(), 1u);
    QWidget window;
    EXPECT_EQ(skin->ApplySkin(&window), E_UNEXPECTED);  // still answers: nothing loaded
}

}  // namespace
