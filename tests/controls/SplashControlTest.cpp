// The splash control through automation: showing a splash that goes away by
// itself, refusing calls it does not know, and drawing its badge.

#include "SplashControl.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ControlResults.h"
#include "SkinInterface.h"
#include "SplashWindow.h"
#include "TestFiles.h"

namespace {

class SplashControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_host.resize(100, 100);
        ASSERT_EQ(m_control.unknown->QueryInterface(IID_IDispatch, m_splash.ReceiveVoid()), S_OK);
    }

    HRESULT Call(DISPID dispid, std::vector<VARIANT> args) {
        return m_splash->Invoke(dispid, DISPATCH_METHOD, args, nullptr);
    }
    HRESULT SetFile(const QString& path) {
        return Call(DISPID_SPLASH_FILE, {path.toStdU16String()});
    }
    HRESULT Show(std::int32_t milliseconds = 0) { return Call(DISPID_SPLASH_SHOW, {milliseconds}); }
    SplashWindow* Shown() const { return m_control.widget->findChild<SplashWindow*>(); }

    TestFolder m_folder;
    QWidget m_host;
    HostedControl m_control = CreateSplashControl(&m_host);
    ComPtr<IDispatch> m_splash;
};

TEST_F(SplashControlTest, ShowsTheSplashWhichClosesByItself) {
    ASSERT_EQ(SetFile(m_folder.Write("Splash.spl", MinimalSplash(200))), S_OK);
    ASSERT_EQ(Show(0), S_OK);
    SplashWindow* splash = Shown();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(splash->isVisible());
    EXPECT_TRUE(splash->isWindow());
    EXPECT_FALSE(splash->isModal());
    EXPECT_EQ(splash->size(), QSize(120, 80));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown() == nullptr; }, 3000));
}

TEST_F(SplashControlTest, AClickClosesTheSplashAtOnce) {
    ASSERT_EQ(SetFile(m_folder.Write("Splash.spl", MinimalSplash(10000))), S_OK);
    ASSERT_EQ(Show(0), S_OK);
    ASSERT_NE(Shown(), nullptr);
    QTest::mouseClick(Shown(), Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Shown() == nullptr; }, 1000));
}

TEST_F(SplashControlTest, ShowingAgainReplacesTheSplashShown) {
    ASSERT_EQ(SetFile(m_folder.Write("Splash.spl", MinimalSplash(10000))), S_OK);
    ASSERT_EQ(Show(0), S_OK);
    ASSERT_EQ(Show(5000), S_OK);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_control.widget->findChildren<SplashWindow*>().size(), 1);
}

TEST_F(SplashControlTest, AMissingOrBrokenFileShowsNothing) {
    EXPECT_EQ(SetFile(m_folder.PathOf("absent.spl")), HRESULT_FILE_NOT_FOUND);
    EXPECT_TRUE(FAILED(Show()));
    EXPECT_EQ(SetFile(m_folder.Write("bad.spl", "[splash]\nformat = 1\n")), HRESULT_INVALID_DATA);
    EXPECT_TRUE(FAILED(Show()));
    EXPECT_EQ(SetFile(m_folder.Write("nan.spl",
                                     MinimalSplash().replace("duration = 200", "duration = nan"))),
              HRESULT_INVALID_DATA);
    EXPECT_TRUE(FAILED(Show()));
    EXPECT_EQ(Shown(), nullptr);
}

TEST_F(SplashControlTest, RefusesUnknownMembersAndWrongArguments) {
    const QString path = m_folder.Write("Splash.spl", MinimalSplash());
    EXPECT_EQ(Call(21, {std::int32_t{0}}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_splash->Invoke(DISPID_SPLASH_SHOW, 0, {std::int32_t{0}}, nullptr),
              DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(Call(DISPID_SPLASH_FILE, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(DISPID_SPLASH_FILE, {path.toStdU16String(), std::int32_t{1}}),
              DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(DISPID_SPLASH_FILE, {std::int32_t{1}}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Call(DISPID_SPLASH_SHOW, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(Call(DISPID_SPLASH_SHOW, {path.toStdU16String()}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Call(DISPID_SPLASH_SHOW, {VARIANT()}), DISP_E_TYPEMISMATCH);
    ASSERT_EQ(SetFile(path), S_OK);
    EXPECT_EQ(Show(-1), E_INVALIDARG);
    EXPECT_EQ(Shown(), nullptr);

    VARIANT result = std::int32_t{7};
    EXPECT_EQ(
        m_splash->Invoke(DISPID_SPLASH_FILE, DISPATCH_METHOD, {path.toStdU16String()}, &result),
        S_OK);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(result));
}

TEST_F(SplashControlTest, ItsPlaceShowsTheBadgeOnceAFileIsRead) {
    m_control.widget->resize(32, 33);
    const QImage before = m_control.widget->grab().toImage();
    ASSERT_EQ(SetFile(m_folder.Write("Splash.spl", MinimalSplash())), S_OK);
    EXPECT_NE(m_control.widget->grab().toImage(), before);
}

TEST_F(SplashControlTest, OutlivingItsWidgetIsSafe) {
    ASSERT_EQ(SetFile(m_folder.Write("Splash.spl", MinimalSplash())), S_OK);
    m_control.widget->deleteLater();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Show(), E_UNEXPECTED);
    EXPECT_EQ(SetFile(m_folder.Write("Splash.spl", MinimalSplash())), S_OK);
}

}  // namespace
