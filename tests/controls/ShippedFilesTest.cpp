// The skin, splash, icon and help page that ship beside the program: a
// mistake in any of them would only show when the program starts.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>

#include "SkinReader.h"
#include "SplashFile.h"
#include "Version.h"

namespace {

QString Shipped(const char* name) {
    return QStringLiteral(VEILNOTE_RES_DIR "/") + name;
}

TEST(ShippedFiles, SkinDefinesEveryElementTheWindowBinds) {
    const Loaded<Skin> loaded = ReadSkinFile(Shipped("Veilnote.skn"));
    const auto* error = std::get_if<FileError>(&loaded);
    ASSERT_EQ(error, nullptr) << Describe("Veilnote.skn", *error).toStdString();
    const Skin& skin = std::get<Skin>(loaded);
    for (const char16_t* name : {u"buttontab1", u"buttontab2", u"HelpButton", u"Button1",
                                 u"Button2", u"Button3", u"Button4", u"Button5", u"Button6"}) {
        const SkinElement* element = skin.FindElement(name);
        ASSERT_NE(element, nullptr) << QString::fromUtf16(name).toStdString();
        EXPECT_FALSE(element->tooltip.isEmpty()) << QString::fromUtf16(name).toStdString();
    }
    EXPECT_FALSE(skin.editStyleSheet.isEmpty());
}

TEST(ShippedFiles, SplashReads) {
    const Loaded<SplashArt> loaded = ReadSplashFile(Shipped("Splash.spl"));
    const auto* error = std::get_if<FileError>(&loaded);
    ASSERT_EQ(error, nullptr) << Describe("Splash.spl", *error).toStdString();
    EXPECT_FALSE(std::get<SplashArt>(loaded).badge.isEmpty());
}

TEST(ShippedFiles, SplashAndHelpPageShowTheProgramsOwnVersion) {
    for (const char* name : {"Splash.spl", "Help.html"}) {
        QFile file(Shipped(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.contains(QByteArray(" ") + version::kDotted + "<")) << name;
        EXPECT_FALSE(text.contains("@PROJECT_VERSION")) << name;
    }
}

TEST(ShippedFiles, IconIs32By32AndHelpPageExists) {
    EXPECT_EQ(QImage(Shipped("Veilnote.png")).size(), QSize(32, 32));
    QFile help(Shipped("Help.html"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QByteArray page = help.readAll();
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>"));
    EXPECT_TRUE(page.contains("</html>"));
}

}  // namespace
