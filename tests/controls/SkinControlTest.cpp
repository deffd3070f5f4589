// The skin engine as the window meets it: its COM identity, loading a skin
// file, and giving a window its background and its editor's look.

#include "SkinControl.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPlainTextEdit>

#include "ControlResults.h"
#include "TestFiles.h"

namespace {

class SkinControlTest : public ::testing::Test {
protected:
    HRESULT Load(const QString& path) { return m_skin->LoadSkin(path.toStdU16String()); }

    TestFolder m_folder;
    ComPtr<SkinControl> m_skin = SkinControl::Create();
};

TEST_F(SkinControlTest, AnswersForItsInterfacesOnlyAndCountsReferences) {
    ASSERT_EQ(m_skin->RefCount(), 1u);
    ComPtr<ISkin> skin;
    ASSERT_EQ(m_skin->QueryInterface(IID_ISkin, skin.ReceiveVoid()), S_OK);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(skin->QueryInterface(IID_IUnknown, unknown.ReceiveVoid()), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(skin.Get()));
    EXPECT_EQ(m_skin->RefCount(), 3u);

    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(skin->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(skin->QueryInterface(IID_ISkin, nullptr), E_POINTER);
    EXPECT_EQ(m_skin->RefCount(), 3u);

    unknown.Release();
    skin.Release();
    EXPECT_EQ(m_skin->RefCount(), 1u);
}

TEST_F(SkinControlTest, LoadingFailsForMissingUnreadableAndMalformedFiles) {
    EXPECT_EQ(Load(m_folder.PathOf("absent.skn")), HRESULT_FILE_NOT_FOUND);
    QDir().mkpath(m_folder.PathOf("folder.skn"));
    EXPECT_EQ(Load(m_folder.PathOf("folder.skn")), HRESULT_READ_FAULT);
    EXPECT_EQ(Load(m_folder.Write("bad.skn", "[skin]\nformat = 1\n")), HRESULT_INVALID_DATA);
    EXPECT_EQ(Load(m_folder.Write("empty.skn", "")), HRESULT_INVALID_DATA);
    EXPECT_EQ(Load(m_folder.Write("good.skn", MinimalSkin())), S_OK);
}

TEST_F(SkinControlTest, ApplyingNeedsALoadedSkinAndAWindow) {
    QWidget window;
    EXPECT_EQ(m_skin->ApplySkin(&window), E_UNEXPECTED);
    EXPECT_TRUE(FAILED(Load(m_folder.PathOf("absent.skn"))));
    EXPECT_EQ(m_skin->ApplySkin(&window), E_UNEXPECTED);
    ASSERT_EQ(Load(m_folder.Write("good.skn", MinimalSkin())), S_OK);
    EXPECT_EQ(m_skin->ApplySkin(nullptr), E_INVALIDARG);
    EXPECT_EQ(m_skin->ApplySkin(&window), S_OK);
}

TEST_F(SkinControlTest, AFailedLoadKeepsTheSkinLoadedBefore) {
    ASSERT_EQ(Load(m_folder.Write("good.skn", MinimalSkin())), S_OK);
    EXPECT_TRUE(FAILED(Load(m_folder.Write("bad.skn", "[skin"))));
    QWidget window;
    EXPECT_EQ(m_skin->ApplySkin(&window), S_OK);
}

TEST_F(SkinControlTest, WindowGetsTheArtAtItsSizeAndAgainWhenResized) {
    ASSERT_EQ(Load(m_folder.Write("good.skn", MinimalSkin())), S_OK);
    QWidget window;
    window.resize(200, 100);
    ASSERT_EQ(m_skin->ApplySkin(&window), S_OK);
    EXPECT_TRUE(window.autoFillBackground());
    const QImage skinned = window.grab().toImage();
    // The art fills the top half orange; the window colour shows below it.
    EXPECT_EQ(skinned.pixelColor(100, 20), QColor(0xff, 0x80, 0x00));
    EXPECT_EQ(skinned.pixelColor(100, 80), QColor(0x20, 0x30, 0x40));

    window.resize(300, 160);
    // Where the old, smaller art would repeat if the window were not redrawn.
    EXPECT_EQ(window.grab().toImage().pixelColor(290, 110), QColor(0x20, 0x30, 0x40));
    window.show();
    window.resize(320, 180);
    const QPixmap texture = window.palette().window().texture();
    EXPECT_EQ(texture.deviceIndependentSize().toSize(), QSize(320, 180));
}

TEST_F(SkinControlTest, EditorsOfTheWindowTakeTheSkinsLook) {
    ASSERT_EQ(Load(m_folder.Write("good.skn", MinimalSkin())), S_OK);
    QWidget window;
    auto* edit = new QPlainTextEdit(&window);
    ASSERT_EQ(m_skin->ApplySkin(&window), S_OK);
    EXPECT_TRUE(edit->styleSheet().contains("rgba(16, 32, 48, 255)"));
}

}  // namespace
