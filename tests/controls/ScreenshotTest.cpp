// Pictures of the shipped skin on a stand-in of the main window, written to
// the build folder for a person to look at (1x and 2x), plus a sheet of every
// element in every state.

#include <gtest/gtest.h>

#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTest>

#include "ElementPainter.h"
#include "SampleWindow.h"
#include "SkinControl.h"
#include "SkinInterface.h"
#include "SkinReader.h"
#include "SplashControl.h"
#include "SplashWindow.h"
#include "WindowBackdrop.h"

namespace {

const QString kSkinPath = QStringLiteral(VEILNOTE_RES_DIR "/Veilnote.skn");
const QString kSplashPath = QStringLiteral(VEILNOTE_RES_DIR "/Splash.spl");

QString ScreenshotPath(const QString& name) {
    const QString folder = QStringLiteral(VEILNOTE_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    return folder + u'/' + name;
}

bool IsBlank(const QImage& image) {
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); y += 3) {
        for (int x = 0; x < image.width(); x += 3) {
            if (image.pixel(x, y) != first)
                return false;
        }
    }
    return true;
}

// A made-up photograph for the preview: dusk over hills.
QPixmap SamplePicture() {
    QPixmap picture(330, 218);
    QPainter painter(&picture);
    QLinearGradient sky(0, 0, 0, 218);
    sky.setColorAt(0, QColor(0x2b, 0x4a, 0x7a));
    sky.setColorAt(0.6, QColor(0xe8, 0x9a, 0x6a));
    sky.setColorAt(1, QColor(0xf4, 0xc2, 0x7a));
    painter.fillRect(picture.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0xff, 0xe3, 0xa0));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QPointF(230, 120), 22, 22);
    QPainterPath hills;
    hills.moveTo(0, 218);
    hills.lineTo(0, 150);
    hills.cubicTo(80, 110, 150, 170, 230, 140);
    hills.cubicTo(280, 122, 310, 132, 330, 128);
    hills.lineTo(330, 218);
    painter.setBrush(QColor(0x23, 0x2a, 0x4a));
    painter.drawPath(hills);
    return picture;
}

class ShippedSkinPictures : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(m_skin->LoadSkin(kSkinPath.toStdU16String())));
        ASSERT_TRUE(SUCCEEDED(m_skin->ApplySkin(&m_window)));
        for (const SampleButton& sample : SampleButtons()) {
            m_skin->SetSkinElement(&m_window.Button(sample.element), sample.element);
        }
        m_splash.widget->setGeometry(513, 405, 32, 33);
        ComPtr<IDispatch> splash;
        ASSERT_EQ(m_splash.unknown->QueryInterface(IID_IDispatch, splash.ReceiveVoid()), S_OK);
        ASSERT_EQ(splash->Invoke(DISPID_SPLASH_FILE, DISPATCH_METHOD,
                                 {kSplashPath.toStdU16String()}, nullptr),
                  S_OK);
        // Away from the pointer, which would otherwise hover a button.
        m_window.move(200, 200);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void Save(const QImage& image, const QString& name) {
        EXPECT_FALSE(IsBlank(image)) << name.toStdString();
        EXPECT_TRUE(image.save(ScreenshotPath(name), "PNG")) << name.toStdString();
    }

    // What a screen of twice the density shows: the backdrop rendered for
    // that density, and the controls drawn over it.
    QImage RenderAtDoubleDensity() {
        const Loaded<Skin> skin = ReadSkinFile(kSkinPath);
        QImage image(m_window.size() * 2, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(2);
        QPainter painter(&image);
        painter.drawImage(QPointF(0, 0), RenderBackdrop(std::get<Skin>(skin), m_window.size(), 2));
        m_window.render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        return image;
    }

    ComPtr<SkinControl> m_skin = SkinControl::Create();
    SampleWindow m_window;
    HostedControl m_splash = CreateSplashControl(&m_window);
};

TEST_F(ShippedSkinPictures, ImageViewAtStart) {
    m_window.Button(u"Button3").setEnabled(false);
    m_window.Button(u"Button4").setEnabled(false);
    Save(m_window.grab().toImage(), QStringLiteral("skin-window-start.png"));
    Save(RenderAtDoubleDensity(), QStringLiteral("skin-window-start@2x.png"));
}

TEST_F(ShippedSkinPictures, ImageViewWithPicture) {
    m_window.Picture().setPixmap(SamplePicture());
    m_window.ShowImageView();
    Save(m_window.grab().toImage(), QStringLiteral("skin-window-image.png"));
    Save(RenderAtDoubleDensity(), QStringLiteral("skin-window-image@2x.png"));
}

TEST_F(ShippedSkinPictures, MessageView) {
    m_window.ShowMessageView();
    m_window.Edit().setPlainText(
        QStringLiteral("Meet me by the old bridge at nine.\nBring the blue notebook.\n\n"
                       "Nobody else should read this."));
    Save(m_window.grab().toImage(), QStringLiteral("skin-window-message.png"));
    Save(RenderAtDoubleDensity(), QStringLiteral("skin-window-message@2x.png"));
}

TEST_F(ShippedSkinPictures, Splash) {
    ComPtr<IDispatch> splash;
    ASSERT_EQ(m_splash.unknown->QueryInterface(IID_IDispatch, splash.ReceiveVoid()), S_OK);
    ASSERT_EQ(splash->Invoke(DISPID_SPLASH_SHOW, DISPATCH_METHOD, {std::int32_t{0}}, nullptr),
              S_OK);
    auto* window = m_splash.widget->findChild<SplashWindow*>();
    ASSERT_NE(window, nullptr);
    Save(window->grab().toImage(), QStringLiteral("splash.png"));
    window->close();
}

TEST(ShippedSkinElements, SheetOfEveryStateAtDoubleDensity) {
    const Loaded<Skin> loaded = ReadSkinFile(kSkinPath);
    ASSERT_TRUE(std::holds_alternative<Skin>(loaded));
    const Skin& skin = std::get<Skin>(loaded);
    const std::vector<std::pair<ElementState, bool>> states = {
        {ElementState::Normal, false},   {ElementState::Hover, false},
        {ElementState::Pressed, false},  {ElementState::Normal, true},
        {ElementState::Selected, false}, {ElementState::Disabled, false}};
    constexpr int kColumn = 120;
    constexpr int kRow = 84;
    QImage sheet(QSize(kColumn * 6 + 20, kRow * 9 + 20) * 2, QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(2);
    sheet.fill(skin.windowColor);
    QPainter painter(&sheet);
    for (std::size_t row = 0; row < SampleButtons().size(); ++row) {
        const SampleButton& sample = SampleButtons()[row];
        const SkinElement* element = skin.FindElement(sample.element);
        ASSERT_NE(element, nullptr);
        for (std::size_t column = 0; column < states.size(); ++column) {
            const QRectF place(QPointF(10.0 + kColumn * static_cast<double>(column),
                                       10.0 + kRow * static_cast<double>(row)),
                               QSizeF(sample.geometry.size()));
            PaintElement(painter, place, *element, states[column].first, states[column].second);
        }
    }
    painter.end();
    EXPECT_TRUE(sheet.save(ScreenshotPath(QStringLiteral("skin-elements.png")), "PNG"));
}

}  // namespace
