// Pictures people have, made into carriers by the real tool and by the
// window's path, judged by Qt's and ImageMagick's readings.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include "CliTestSupport.h"
#include "DecoderOracles.h"
#include "Hiding.h"
#include "PictureDecoder.h"

namespace {

Bytes ReadBytes(const std::string& path) {
    const std::string text = ReadText(path);
    return {text.begin(), text.end()};
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
    WriteText(path, std::string(bytes.begin(), bytes.end()));
}

// Gradients with a few hard edges, so that a turned or shifted picture shows;
// alpha, when asked for, stays above 0 so that every pixel's colour counts.
QImage Scene(int width, int height, bool translucent) {
    QImage image(width, height, translucent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int alpha = translucent ? 64 + (x * 191) / std::max(width - 1, 1) : 255;
            image.setPixel(
                x, y,
                qRgba((x * 255) / width, (y * 255) / height, x < width / 4 ? 230 : 40, alpha));
        }
    }
    return image;
}

Bytes Encoded(const QImage& image, const char* format) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, format, 95)) << format;
    return {data.begin(), data.end()};
}

// A picture ImageMagick writes (Qt writes no GIF), from a PNG of `image`.
Bytes ConvertedByImageMagick(const QImage& image, const std::string& arguments,
                             const std::string& target) {
    const TempDir dir;
    WriteBytes(dir / "in.png", Encoded(image, "PNG"));
    const std::string command =
        "convert '" + dir / "in.png" + "' " + arguments + " '" + target + ":" + dir / "out" + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return ReadBytes(dir / "out");
}

// A JPEG with an EXIF orientation tag of `orientation` (6: turn right to
// show), written here because ImageMagick writes one only into an EXIF
// block the picture already has.
Bytes WithOrientationTag(const Bytes& jpeg, std::uint8_t orientation) {
    const Bytes app1 = {0xFF, 0xE1, 0, 34, 'E', 'x', 'i', 'f', 0, 0,  // APP1, 32 bytes inside
                        'M',  'M',  0, 42, 0,   0,   0,   8,          // big-endian TIFF header
                        0,    1,                                      // one entry:
                        0x01, 0x12, 0, 3,  0,   0,   0,   1,   0, orientation, 0, 0,  // Orientation
                        0,    0,    0, 0};                                            // no next IFD
    Bytes tagged(jpeg.begin(), jpeg.begin() + 2);  // the start of image
    tagged.insert(tagged.end(), app1.begin(), app1.end());
    tagged.insert(tagged.end(), jpeg.begin() + 2, jpeg.end());
    return tagged;
}

struct PictureCase {
    const char* name;
    const char* magickFormat;  // how ImageMagick is told to read it
    bool keepsAlpha;
    std::function<Bytes()> make;
    // For a picture with a colour profile: how ImageMagick converts it to
    // sRGB, whose reading then judges both decoders' readings of the carrier.
    const char* toSrgb = nullptr;
};

// Ghostscript's profiles, which ImageMagick applies through LittleCMS: an
// oracle independent of Qt's own colour conversion.
constexpr const char* kProfiles = "/usr/share/color/icc/ghostscript/";

std::vector<PictureCase> Pictures() {
    return {
        {"PngOpaque", "PNG", false, [] { return Encoded(Scene(61, 37, false), "PNG"); }},
        {"PngTranslucent", "PNG", true, [] { return Encoded(Scene(61, 37, true), "PNG"); }},
        {"Jpeg", "JPG", false, [] { return Encoded(Scene(64, 40, false), "JPEG"); }},
        {"Gif", "GIF", false,
         [] { return ConvertedByImageMagick(Scene(50, 30, false), "-colors 64", "GIF"); }},
        {"WebpLossless", "WEBP", true,
         [] {
             return ConvertedByImageMagick(Scene(45, 33, true), "-define webp:lossless=true",
                                           "WEBP");
         }},
        {"Tiff", "TIFF", false, [] { return Encoded(Scene(39, 41, false), "TIFF"); }},
        {"Tiff16Bit", "TIFF", false,
         [] { return ConvertedByImageMagick(Scene(33, 21, false), "-depth 16", "TIFF"); }},
        {"PngWideGamut", "PNG", false,
         [] {
             return ConvertedByImageMagick(Scene(40, 24, false),
                                           "-profile " + std::string(kProfiles) + "a98.icc", "PNG");
         },
         "-profile /usr/share/color/icc/ghostscript/srgb.icc"},
        {"JpegCmyk", "JPG", false,
         [] {
             return ConvertedByImageMagick(Scene(48, 32, false), "-colorspace CMYK -quality 95",
                                           "JPG");
         }},
    };
}

class PictureCarrierTest : public ::testing::TestWithParam<PictureCase> {
protected:
    void SetUp() override {
        WriteText(passwordFile, "Tr0ub4dor&3\n");
        WriteText(messageFile, "Meet at the north gate.");
    }

    // The tool's carrier with the message hidden in it.
    Bytes HideWithTool(const Bytes& picture) {
        WriteBytes(dir / "picture", picture);
        const Finished hidden =
            RunTool({"hide", dir / "picture", output, "--convert", "--text-file", messageFile,
                     "--password-file", passwordFile},
                    {.asProcess = true});
        EXPECT_EQ(hidden.code, 0) << hidden.err;
        return ReadBytes(output);
    }

    std::string Reveal() {
        return RunTool({"reveal", output, "--password-file", passwordFile}, {.asProcess = true})
            .out;
    }

    TempDir dir;
    const std::string output = dir / "carrier.bmp";
    const std::string passwordFile = dir / "pw";
    const std::string messageFile = dir / "message.txt";
};

TEST_P(PictureCarrierTest, BecomesACarrierThatLooksTheSameAndReveals) {
    const PictureCase& picture = GetParam();
    const Bytes original = picture.make();
    const Bytes carrier = HideWithTool(original);
    ASSERT_GT(carrier.size(), 54U);

    // The window's path makes the same carrier; the records change low bits only.
    const ConvertedBitmap windowCopy = ConvertPicture(original);
    ASSERT_EQ(windowCopy.failure, "");
    ASSERT_EQ(windowCopy.file.size(), carrier.size());
    for (std::size_t i = 0; i < carrier.size(); ++i) {
        ASSERT_EQ(carrier[i] | 1, windowCopy.file[i] | 1) << "byte " << i;
    }
    EXPECT_EQ(carrier[28], picture.keepsAlpha ? 32 : 24) << "bits per pixel";

    // Each decoder reads the carrier as it reads the picture itself.
    const Decoded qtCarrier = DecodeWithQt(carrier);
    const Decoded magickCarrier = DecodeWithImageMagick(carrier);
    ASSERT_TRUE(qtCarrier.ok && magickCarrier.ok);
    if (picture.toSrgb != nullptr) {
        const Decoded srgb =
            DecodeWithImageMagickAs(original, picture.magickFormat, picture.toSrgb);
        EXPECT_LE(Change(srgb, qtCarrier), 2);
        EXPECT_LE(Change(srgb, magickCarrier), 2);
    } else {
        const QImage qtPicture =
            QImage::fromData(original.data(), static_cast<int>(original.size()))
                .convertToFormat(QImage::Format_RGBA8888);
        Decoded qtOriginal{true, qtPicture.width(), qtPicture.height(), {}};
        for (int y = 0; y < qtPicture.height(); ++y) {
            const auto* line = qtPicture.constScanLine(y);
            qtOriginal.rgba.insert(qtOriginal.rgba.end(), line, line + 4 * qtPicture.width());
        }
        EXPECT_LE(Change(qtOriginal, qtCarrier), 2);
        EXPECT_LE(
            Change(DecodeWithImageMagickAs(original, picture.magickFormat, "-colorspace sRGB"),
                   magickCarrier),
            2);
    }
    EXPECT_EQ(Reveal(), "Meet at the north gate.");
}

INSTANTIATE_TEST_SUITE_P(Kinds, PictureCarrierTest, ::testing::ValuesIn(Pictures()),
                         [](const auto& named) { return std::string(named.param.name); });

class PictureToolTest : public PictureCarrierTest {};

TEST_F(PictureToolTest, AJpegTurnedByItsTagComesOutUpright) {
    // Stored lying on its side: the tag tells viewers to turn it.
    const Bytes turned = WithOrientationTag(Encoded(Scene(64, 40, false), "JPEG"), 6);
    const Bytes carrier = HideWithTool(turned);
    const Decoded upright = DecodeWithImageMagickAs(turned, "JPG", "-auto-orient");
    const Decoded read = DecodeWithQt(carrier);
    ASSERT_TRUE(upright.ok && read.ok);
    EXPECT_EQ(read.width, 40);
    EXPECT_EQ(read.height, 64);
    EXPECT_LE(Change(upright, read), 2);
}

TEST_F(PictureToolTest, InfoNamesThePictureAndItsCarrierFromHeadersAlone) {
    WriteBytes(dir / "photo.jpg", Encoded(Scene(64, 40, false), "JPEG"));
    const Finished info = RunTool({"info", dir / "photo.jpg"}, {.asProcess = true});
    EXPECT_EQ(info.code, 0) << info.err;
    EXPECT_TRUE(info.out.starts_with("picture: JPEG, 64x40\n")) << info.out;
    EXPECT_NE(info.out.find("size: " + std::to_string(54 + 64 * 3 * 40) + " bytes\n"),
              std::string::npos)
        << info.out;
}

// The CRC-32 PNG chunks end with, computed bit by bit.
std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = crc & 1u ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

TEST_F(PictureToolTest, APictureTooLargeForACarrierIsRefusedFromItsHeaders) {
    // A small PNG whose header claims 60000x60000 pixels: 10 GB as a bitmap.
    Bytes png = Encoded(Scene(8, 8, false), "PNG");
    for (std::size_t at : {16U, 20U}) {
        png[at] = 0, png[at + 1] = 0, png[at + 2] = 0xEA, png[at + 3] = 0x60;
    }
    const std::uint32_t crc = Crc32(png.data() + 12, 17);  // the chunk's type and data
    for (int i = 0; i < 4; ++i)
        png[29 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    WriteBytes(dir / "huge.png", png);
    const Finished hidden = RunTool({"hide", dir / "huge.png", output, "--convert", "--text-file",
                                     messageFile, "--password-file", passwordFile},
                                    {.asProcess = true});
    EXPECT_EQ(hidden.code, 1);
    EXPECT_EQ(hidden.err, ErrorLine("This PNG picture cannot be converted: its 60000x60000 pixels "
                                    "would make a carrier too large."));
    EXPECT_NE(RunTool({"info", dir / "huge.png"}, {.asProcess = true})
                  .out.find("picture: PNG (its 60000x60000 pixels would make a carrier too large)"),
              std::string::npos);
}

TEST_F(PictureToolTest, APictureHiddenWithoutConvertIsRefusedByItsKind) {
    Bytes heic = {0, 0, 0, 24, 'f', 't', 'y', 'p', 'h', 'e', 'i', 'c'};
    heic.resize(4096, 0);
    WriteBytes(dir / "photo.heic", heic);
    Bytes broken = Encoded(Scene(8, 8, false), "PNG");
    broken.resize(40);          // its header chunk cut short,
    broken.resize(4096, 0xAA);  // in a file large enough for a message
    WriteBytes(dir / "broken.png", broken);
    WriteBytes(dir / "photo.jpg", Encoded(Scene(64, 40, false), "JPEG"));
    WriteBytes(dir / "dot.png", Encoded(Scene(2, 2, true), "PNG"));
    const std::string convertOrForce =
        " Use --convert to hide in a bitmap copy that looks the same, or --force to hide anyway.";
    // Only the tool's own line, with or without --convert: no reader's chatter.
    const struct {
        const char* file;
        std::vector<std::string> flags;
        std::string err;
    } cases[] = {
        {"photo.heic",
         {"--convert"},
         "This HEIC picture cannot be converted: Veilnote does not read HEIC pictures."},
        {"photo.heic",
         {},
         UnconvertiblePicture("HEIC", "Veilnote does not read HEIC pictures") +
             " Use --force to hide anyway."},
        {"photo.jpg", {}, PictureIsNoBitmap("JPEG", 64, 40) + convertOrForce},
        // Too small to hide in its own bytes, but its copy is no bitmap of
        // that size: --convert is what it needs to hear of.
        {"dot.png", {}, PictureIsNoBitmap("PNG", 2, 2) + convertOrForce},
        {"broken.png",
         {},
         UnconvertiblePicture("PNG", "its size cannot be read") + " Use --force to hide anyway."},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"hide",      dir / c.file,      output,      "--text-file",
                                         messageFile, "--password-file", passwordFile};
        args.insert(args.end(), c.flags.begin(), c.flags.end());
        const Finished hidden = RunTool(args, {.asProcess = true});
        EXPECT_EQ(hidden.code, 1);
        EXPECT_EQ(hidden.err, ErrorLine(c.err)) << c.file;
    }
    EXPECT_EQ(RunTool({"info", dir / "broken.png"}, {.asProcess = true}).err, "");
}

}  // namespace
