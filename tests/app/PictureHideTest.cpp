// Hide with a picture that is not a bitmap: the window offers Convert as the
// default, names the copy's size, proposes NAME.bmp, and saves the very
// carrier the tool makes of the same picture.
#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>

#include "CapacityLine.h"
#include "CarrierFacts.h"
#include "CommandsFixture.h"
#include "Hiding.h"
#include "PictureDecoder.h"

namespace {

Bytes Encoded(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format));
    return {data.begin(), data.end()};
}

// A translucent picture, so that the copy must keep its alpha (32 bits).
Bytes TranslucentPng(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 4, y * 6, 200, 60 + x * 3));
    return Encoded(image, "PNG");
}

Bytes Jpeg(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 2, y * 3, 120));
    return Encoded(image, "JPEG");
}

QString CapacityText(CVeilnoteDlg& dlg) {
    return qobject_cast<QLabel*>(Control(dlg, IDC_CAPACITY))->text();
}

// The figure the line calls safe.
std::int64_t SafeFigure(const QString& line) {
    const QRegularExpressionMatch match =
        QRegularExpression("of ([0-9,]+) bytes safely").match(line);
    EXPECT_TRUE(match.hasMatch()) << line.toStdString();
    return match.captured(1).remove(',').toLongLong();
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
        // Before any decoding the line promises no more than the copy takes.
        const QString before = CapacityText(dlg);
        EXPECT_TRUE(before.startsWith("Copy: ")) << before.toStdString();
        EXPECT_LE(SafeFigure(before), ReadCarrierFacts(ConvertPicture(picture).file).safeCapacity);
        m_script.ExpectQuestion(
            "This is a PNG picture (40x30), not a bitmap: it cannot carry a message itself, "
            "and hiding one in its bytes may break it. Convert makes a 24-bit bitmap copy of "
            "3,654 bytes (32-bit, 4,938 bytes, if any pixel is transparent) that looks the same, "
            "hides the message there and saves it under a new name.\n\nHide the message anyway?",
            {"&Yes", "&No", "&Convert"}, "&Convert", "&Convert");
        Hide(dlg, "password1", saved);
        EXPECT_TRUE(m_script.Done());
        const CarrierFacts savedFacts = ReadCarrierFacts(ReadFile(saved));
        EXPECT_EQ(CapacityText(dlg).toStdString(), DescribeCapacity(&savedFacts, 6).text)
            << "the saved carrier's own figures";
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

// A picture no decoder here reads cannot be converted: the question names it
// and offers only Yes and No, as for any file that is not a bitmap.
TEST_F(PictureHideTest, APictureNoDecoderReadsIsNamedAndNotOfferedConvert) {
    Bytes heic = {0, 0, 0, 24, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'};
    heic.resize(4096, 0);
    const std::string path = Write("photo.heic", heic);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        TypeMessage(dlg, "secret");
        m_script.ExpectQuestion(
            UnconvertiblePicture("HEIC", "Veilnote does not read HEIC pictures") +
                "\n\nHide the message anyway?",
            {"&Yes", "&No"}, "&No", "&No");
        ClickHide(dlg);
        EXPECT_TRUE(m_script.Done());
    });
    EXPECT_EQ(ReadFile(path), heic);
}

// An opaque photo's copy is the 24-bit one the line measures: its figures
// are the copy's, as the message is typed.
TEST_F(PictureHideTest, TheCapacityLineGivesTheFiguresOfTheCopyAPhotoBecomes) {
    const Bytes photo = Jpeg(120, 80);
    const CarrierFacts copy = ReadCarrierFacts(ConvertPicture(photo).file);
    const std::string path = Write("photo.jpg", photo);
    RunMainWindow([&](CVeilnoteDlg& dlg) {
        Open(dlg, path);
        for (const std::int64_t typed : {std::int64_t{12}, copy.safeCapacity + 1}) {
            TypeMessage(dlg, QString(static_cast<int>(typed), 'm'));
            EXPECT_EQ(CapacityText(dlg).toStdString(),
                      DescribeCapacity(&copy, typed, CapacityOf::kConvertedCopy).text);
        }
        SaveScreenshot(dlg.GetSafeHwnd(), "main-message-capacity-copy");
        // The line of the largest photo a carrier can hold still fits.
        CarrierFacts largest;
        largest.capacity = largest.safeCapacity = 2'147'000'000;
        largest.sealedCapacity = largest.sealedSafeCapacity = 1'610'000'000;
        const auto* line = qobject_cast<QLabel*>(Control(dlg, IDC_CAPACITY));
        EXPECT_LE(line->fontMetrics().horizontalAdvance(QString::fromStdString(
                      DescribeCapacity(&largest, 2'000'000'000, CapacityOf::kConvertedCopy).text)),
                  line->width());
    });
}

}  // namespace
