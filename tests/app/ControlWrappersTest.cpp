// The window wrappers of the two outside controls, made by their class names.
#include <QWidget>

#include "AppFixture.h"
#include "Skin.h"
#include "SkinInterface.h"
#include "Splash.h"

namespace {
class ControlWrappersTest : public AppFixture {};

TEST_F(ControlWrappersTest, EachWrapperMadeByItsClassNameHostsItsControl) {
    AfxEnableControlContainer();
    QWidget parentWidget;
    CWnd parent(&parentWidget);
    const struct {
        const char* name;
        int id;
        IID iid;  // what only that control answers to
    } cases[] = {{"CSplash", 1020, IID_IDispatch}, {"CSkin", 1019, IID_ISkin}};
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        const CRuntimeClass* runtimeClass = CRuntimeClass::FromName(each.name);
        ASSERT_NE(runtimeClass, nullptr);
        EXPECT_STREQ(runtimeClass->m_lpszClassName, each.name);
        const std::unique_ptr<CCmdTarget> object = runtimeClass->CreateObject();
        auto* wrapper = dynamic_cast<CWnd*>(object.get());
        ASSERT_NE(wrapper, nullptr);
        ASSERT_TRUE(wrapper->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect{10, 20, 52, 60},
                                    &parent, static_cast<UINT>(each.id)));

        QWidget* control = FindControl(&parentWidget, each.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(wrapper->GetSafeHwnd(), control);
        EXPECT_EQ(control->geometry(), QRect(10, 20, 42, 40));
        EXPECT_FALSE(control->isHidden());
        ASSERT_NE(wrapper->GetControlUnknown(), nullptr);
        ComPtr<IUnknown> answer;
        EXPECT_EQ(wrapper->GetControlUnknown()->QueryInterface(each.iid, answer.ReceiveVoid()),
                  S_OK);
    }
    EXPECT_EQ(CRuntimeClass::FromName("CVeilnoteDlg"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CSplas"), nullptr);

    CSplash again;
    EXPECT_TRUE(again.Create(nullptr, "", WS_CHILD, CRect{}, &parent, 7));
    EXPECT_FALSE(again.Create(nullptr, "", WS_CHILD, CRect{}, &parent, 8))
        << "a wrapper makes one window";
    EXPECT_TRUE(FindControl(&parentWidget, 7)->isHidden()) << "made without WS_VISIBLE";
}
}  // namespace
