// Hide with a picture that is not a bitmap: the window offers Convert as the
// default, names the copy's size, proposes NAME.bmp, and saves the very
// carrier the tool makes of the same picture.
#include <QBuffer>
#include <QImage>

#include "CommandsFixture.h"
#include "PictureDecoder.h"

namespace {

// A translucent picture, so that the copy must keep its alpha (32 bits).
Bytes TranslucentPng(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 4, y * 6, 200, 60 + x * 3));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "PNG"));
    return {data.begin(), data.end()};
}

class PictureHideTest : public CommandsFixture {};

TEST_F(PictureHideTest, ConvertIsTheDefaultAndTheWindowSavesTheToolsCarrier) {
    const Bytes picture = TranslucentPng(40, 30);
    const std::string path = Write("photo.png", picture);
    const std::string saved = PathOf("photo.bmp");
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        EXPECT_TRUE(IsEnabled(dlg, IDC_HIDE));
        TypeMessage(dlg, "secret");
        m_script.ExpectQuestion(
            "This is a PNG picture (40x30), not a bitmap: it cannot carry a message itself, "
            "and hiding one in its bytes may break it. Convert makes a 32-bit bitmap copy of "
            "4,938 bytes that looks the same, hides the message there and saves it under a new "
            "name.\n\nHide the message anyway?",
            {"&Yes", "&No", "&Convert"}, "&Convert", "&Convert");
        Hide(dlg, "password1", saved);
        EXPECT_TRUE(m_script.Done());
    });
    ASSERT_EQ(m_script.FileDialogsSeen().size(), 2u);
    EXPECT_EQ(m_script.FileDialogsSeen()[0].filter,
              "Pictures|*.bmp;*.png;*.jpg;*.jpeg;*.webp;*.gif;*.tif;*.tiff|Bitmap Files "
              "(*.bmp)|*.bmp|All Files|*||");
    EXPECT_EQ(m_script.FileDialogsSeen()[1].initialFileName, saved);
    EXPECT_EQ(ReadFile(path), picture) << "the picture itself stays as it was";

    const Bytes windowCarrier = ReadFile(saved);
    EXPECT_EQ(windowCarrier,
              WithHiddenMessage(ConvertPicture(picture).file, "password1", "secret"));
    Write("message.txt", {'s', 'e', 'c', 'r', 'e', 't'});
    Write("pw", {'p', 'a', 's', 's', 'w', 'o', 'r', 'd', '1', '\n'});
    std::string out;
    ASSERT_EQ(
        RunCli({"hide", QString::fromStdString(path), QString::fromStdString(PathOf("tool.bmp")),
                "--convert", "--text-file", QString::fromStdString(PathOf("message.txt")),
                "--password-file", QString::fromStdString(PathOf("pw"))},
               out),
        0);
    EXPECT_EQ(ReadFile(PathOf("tool.bmp")), windowCarrier);
}

}  // namespace
