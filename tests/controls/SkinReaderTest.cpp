// Building a skin from its file: faces with their states, elements, and the
// mistakes that make a skin file malformed.

#include "SkinReader.h"

#include <gtest/gtest.h>

#include "FileValues.h"
#include "TestFiles.h"

namespace {

Loaded<Skin> FromText(const QByteArray& text) {
    const Loaded<SectionList> sections = ParseSectionText(text);
    if (const auto* error = std::get_if<FileError>(&sections))
        return *error;
    return BuildSkin(std::get<SectionList>(sections));
}

// The minimal skin with `from` replaced by `to`; the replacement must happen.
QByteArray Changed(const QByteArray& from, const QByteArray& to) {
    QByteArray text = MinimalSkin();
    EXPECT_TRUE(text.contains(from)) << from.toStdString();
    return text.replace(from, to);
}

std::string ErrorOf(const QByteArray& text) {
    const Loaded<Skin> skin = FromText(text);
    const auto* error = std::get_if<FileError>(&skin);
    return error ? error->message.toStdString() : std::string("no error");
}

TEST(FileValues, ReadColoursWithAlphaLast) {
    EXPECT_EQ(ReadColor(u"#abc"), QColor(0xaa, 0xbb, 0xcc));
    EXPECT_EQ(ReadColor(u"#102030"), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(ReadColor(u"#10203080"), QColor(0x10, 0x20, 0x30, 0x80));
    EXPECT_EQ(ReadColor(u"none")->alpha(), 0);
    EXPECT_FALSE(ReadColor(u"red"));
    EXPECT_FALSE(ReadColor(u"#12345"));
    EXPECT_FALSE(ReadColor(u"#12345g"));
    EXPECT_FALSE(ReadColors(u""));
    EXPECT_EQ(ReadColors(u"#000 #fff")->size(), 2u);
}

TEST(FileValues, ReadFontsAndSizes) {
    const auto font = ReadFont(u"DejaVu Sans, 12px, bold condensed");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->pixelSize(), 12);
    EXPECT_EQ(font->weight(), QFont::Bold);
    EXPECT_EQ(font->stretch(), QFont::SemiCondensed);
    EXPECT_FALSE(ReadFont(u"DejaVu Sans"));
    EXPECT_FALSE(ReadFont(u"DejaVu Sans, 12px, heavy"));
    EXPECT_FALSE(ReadFont(u"DejaVu Sans, 200px"));
    // NaN fails every comparison, so a plain range check would let it through.
    for (const QString bad : {"nan", "-nan", "NaN", "inf", "-inf"}) {
        EXPECT_FALSE(ReadNumber(bad, 0, 100)) << bad.toStdString();
        EXPECT_FALSE(ReadNumbers(QString("1 " + bad), 0, 100));
        EXPECT_FALSE(ReadFont(QString("DejaVu Sans, " + bad + "px")));
    }
    EXPECT_EQ(ReadSize(u"420x240"), QSize(420, 240));
    EXPECT_FALSE(ReadSize(u"420"));
    EXPECT_FALSE(ReadSize(u"0x240"));
}

TEST(SkinReader, StatesTakeTheNormalLookForWhatTheyDoNotGive) {
    const Loaded<Skin> loaded =
        FromText(Changed("ink = #ffffff\n", "ink = #ffffff\nicon = #00ff00\n"));
    ASSERT_TRUE(std::holds_alternative<Skin>(loaded)) << ErrorOf(MinimalSkin());
    const Face& face = std::get<Skin>(loaded).FindElement(u"Plain")->face;
    const FaceLook& hover = face.Look(ElementState::Hover);
    EXPECT_EQ(hover.fillTop, QColor(0x40, 0x60, 0xb0));
    EXPECT_EQ(hover.fillBottom, QColor(0x40, 0x60, 0xb0));
    EXPECT_EQ(hover.border, QColor(Qt::white));  // from the normal look
    EXPECT_EQ(hover.icon, QColor(0, 255, 0));
    EXPECT_EQ(face.Look(ElementState::Disabled).ink, QColor(0x80, 0x80, 0x80));
}

TEST(SkinReader, IconColourFollowsInkUnlessGiven) {
    const Loaded<Skin> loaded = FromText(MinimalSkin());
    ASSERT_TRUE(std::holds_alternative<Skin>(loaded)) << ErrorOf(MinimalSkin());
    const Face& face = std::get<Skin>(loaded).FindElement(u"Plain")->face;
    EXPECT_EQ(face.Look(ElementState::Disabled).icon, QColor(0x80, 0x80, 0x80));
}

TEST(SkinReader, ElementsKeepTheirTextAndFollowing) {
    const Loaded<Skin> loaded = FromText(MinimalSkin());
    ASSERT_TRUE(std::holds_alternative<Skin>(loaded));
    const Skin& skin = std::get<Skin>(loaded);
    EXPECT_EQ(skin.windowColor, QColor(0x20, 0x30, 0x40));
    EXPECT_TRUE(skin.editStyleSheet.contains("QPlainTextEdit"));
    const SkinElement* follower = skin.FindElement(u"Follower");
    ASSERT_NE(follower, nullptr);
    EXPECT_EQ(follower->label, "Follows");
    EXPECT_EQ(follower->selectedWith, "Plain");
    EXPECT_TRUE(follower->icon.isEmpty());
    EXPECT_EQ(skin.FindElement(u"plain"), nullptr);  // names are case-sensitive
}

TEST(SkinReader, RefusesMalformedSkins) {
    EXPECT_NE(ErrorOf(Changed("format = 1", "format = 2")), "no error");
    EXPECT_NE(ErrorOf(Changed("[skin]\nformat = 1\n", "")), "no error");
    EXPECT_NE(ErrorOf(Changed("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 10 10\">",
                              "<nonsense>")),
              "no error");
    EXPECT_NE(ErrorOf(Changed("color = #203040", "color = dark")), "no error");
    EXPECT_NE(ErrorOf(Changed("[edit]\n", "[edit]\nwidth = 3\n")), "no error");
    EXPECT_NE(ErrorOf(Changed("hover.fill", "hovered.fill")), "no error");
    EXPECT_NE(ErrorOf(Changed("hover.fill", "hover.radius")), "no error");
    EXPECT_NE(ErrorOf(Changed("border = #ffffff", "border = #ffffff #000000")), "no error");
    EXPECT_NE(ErrorOf(Changed("face = flat\nlabel = Plain", "face = round\nlabel = Plain")),
              "no error");
    EXPECT_NE(ErrorOf(Changed("label = Follows\n", "")), "no error");  // neither label nor icon
    EXPECT_NE(ErrorOf(Changed("selected-with = Plain", "selected-with = Nobody")), "no error");
    EXPECT_NE(ErrorOf(Changed("[element Plain]", "[elements Plain]")), "no error");
    EXPECT_NE(ErrorOf(Changed("tooltip = A plain button", "tip = A plain button")), "no error");
}

}  // namespace
