// Buttons drawn as skin elements: every state looks different, the button
// says what it does, and a view's tab follows its view.

#include <gtest/gtest.h>

#include <QPushButton>

#include "ControlResults.h"
#include "ElementBinding.h"
#include "SampleWindow.h"
#include "SkinControl.h"
#include "TestFiles.h"

namespace {

class SkinElementTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(m_skin->LoadSkin(m_folder.Write("good.skn", MinimalSkin()).toStdU16String()),
                  S_OK);
        m_button.resize(98, 33);
    }

    QImage Look() { return m_button.grab().toImage(); }

    TestFolder m_folder;
    ComPtr<SkinControl> m_skin = SkinControl::Create();
    QPushButton m_button;
};

TEST_F(SkinElementTest, BoundButtonDrawsTheElementInEachState) {
    const QImage unbound = Look();
    ASSERT_EQ(m_skin->SetSkinElement(&m_button, u"Plain"), S_OK);
    const QImage normal = Look();
    EXPECT_NE(normal, unbound);
    EXPECT_EQ(normal.pixelColor(92, 4), QColor(0x30, 0x50, 0xa0));  // the face's fill

    m_button.setDown(true);
    const QImage pressed = Look();
    m_button.setDown(false);
    m_button.setCheckable(true);
    m_button.setChecked(true);
    const QImage selected = Look();
    m_button.setChecked(false);
    m_button.setEnabled(false);
    const QImage disabled = Look();

    EXPECT_NE(pressed, normal);
    EXPECT_NE(selected, normal);
    EXPECT_NE(disabled, normal);
    EXPECT_NE(disabled, pressed);
    EXPECT_EQ(disabled.pixelColor(92, 4), QColor(0x50, 0x50, 0x50));
}

TEST_F(SkinElementTest, BoundButtonSaysWhatItDoes) {
    ASSERT_EQ(m_skin->SetSkinElement(&m_button, u"Plain"), S_OK);
    EXPECT_EQ(m_button.toolTip(), "A plain button");
    EXPECT_EQ(m_button.accessibleName(), "Plain");
    EXPECT_EQ(m_button.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(m_button.testAttribute(Qt::WA_Hover));
}

TEST_F(SkinElementTest, UnknownElementsAndMissingArgumentsLeaveTheButtonAlone) {
    const QImage unbound = Look();
    EXPECT_EQ(m_skin->SetSkinElement(&m_button, u"Nobody"), E_INVALIDARG);
    EXPECT_EQ(m_skin->SetSkinElement(&m_button, u"plain"), E_INVALIDARG);
    EXPECT_EQ(m_skin->SetSkinElement(&m_button, nullptr), E_INVALIDARG);
    EXPECT_EQ(m_skin->SetSkinElement(nullptr, u"Plain"), E_INVALIDARG);
    EXPECT_EQ(Look(), unbound);
    EXPECT_TRUE(m_button.toolTip().isEmpty());

    const ComPtr<SkinControl> unloaded = SkinControl::Create();
    EXPECT_EQ(unloaded->SetSkinElement(&m_button, u"Plain"), E_UNEXPECTED);
}

TEST_F(SkinElementTest, BindingAgainReplacesTheLook) {
    ASSERT_EQ(m_skin->SetSkinElement(&m_button, u"Plain"), S_OK);
    ASSERT_EQ(m_skin->SetSkinElement(&m_button, u"Follower"), S_OK);
    EXPECT_EQ(m_button.findChildren<ElementBinding*>().size(), 1);
    EXPECT_EQ(m_button.accessibleName(), "Follows");
}

TEST_F(SkinElementTest, ButtonKeepsItsLookAfterTheSkinControlIsGone) {
    ASSERT_EQ(m_skin->SetSkinElement(&m_button, u"Plain"), S_OK);
    const QImage before = Look();
    m_skin.Release();
    EXPECT_EQ(Look(), before);
}

TEST_F(SkinElementTest, TabIsSelectedWhileTheControlItFollowsIsShown) {
    SampleWindow window;
    QPushButton& followed = window.Button(u"Button1");
    QPushButton& tab = window.Button(u"buttontab1");
    ASSERT_EQ(m_skin->SetSkinElement(&tab, u"Follower"), S_OK);  // bound before what it follows
    ASSERT_EQ(m_skin->SetSkinElement(&followed, u"Plain"), S_OK);
    window.show();

    const QColor selectedFill(0xa0, 0x30, 0x50);
    const QPoint clear(4, 4);  // the face, away from the label
    EXPECT_EQ(tab.grab().toImage().pixelColor(clear), selectedFill);
    window.ShowMessageView();
    EXPECT_NE(tab.grab().toImage().pixelColor(clear), selectedFill);
    window.ShowImageView();
    EXPECT_EQ(tab.grab().toImage().pixelColor(clear), selectedFill);
}

}  // namespace
