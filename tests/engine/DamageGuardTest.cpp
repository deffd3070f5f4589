// The damage guard against the two decoders people open pictures with: Qt's
// QImage and ImageMagick. Bitmaps of every kind are generated, hidden in
// around the safe capacity, and decoded before and after.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "BitmapConverter.h"
#include "BlowfishCipher.h"
#include "CarrierRecords.h"
#include "DamageGuard.h"
#include "DecoderOracles.h"
#include "PasswordRules.h"
#include "TestBitmaps.h"

namespace {

// The original as each decoder shows it, decoded once.
class Original {
public:
    explicit Original(const Bytes& file)
        : m_qt(DecodeWithQt(file)), m_magick(DecodeWithImageMagick(file)) {}

    // By either decoder.
    bool Decodes() const { return m_qt.ok || m_magick.ok; }
    // Whether either decoder that reads the original sees `after` visibly changed.
    bool VisiblyChanged(const Bytes& after) const {
        return (m_qt.ok && Change(m_qt, DecodeWithQt(after)) > 2) ||
               (m_magick.ok && Change(m_magick, DecodeWithImageMagick(after)) > 2);
    }

private:
    Decoded m_qt;
    Decoded m_magick;
};

// The text whose record flips bit 0 of every byte its ciphertext reaches: the
// worst a message of that length can do. The password record's second block
// is the stored form's fixed suffix, as every password gives it.
std::string FlippingText(const Bytes& carrier, std::int64_t start, std::int64_t length,
                         std::int64_t freeBytes) {
    Bytes cipher(static_cast<std::size_t>(length));
    for (std::int64_t k = 0; k < freeBytes; ++k) {
        for (std::int64_t j = 0; j < 8; ++j) {
            const unsigned bit =
                carrier[static_cast<std::size_t>(CipherBitPosition(start, k, j))] & 1u;
            cipher[static_cast<std::size_t>(k)] |= static_cast<std::uint8_t>((bit ^ 1u) << j);
        }
    }
    const std::string key = "copper7311window";
    const CBlowfishCipher blowfish(reinterpret_cast<const std::uint8_t*>(key.data()), key.size(),
                                   {});
    std::string text(static_cast<std::size_t>(length), '\0');
    blowfish.Decrypt(cipher.data(), reinterpret_cast<std::uint8_t*>(text.data()), cipher.size(),
                     CBlowfishCipher::ECB);
    if (freeBytes < length) {
        text.replace(static_cast<std::size_t>(freeBytes), std::string::npos, kStoredSuffix);
    }
    return text;
}

Bytes WorstHide(Bytes carrier, std::int64_t messageRecordLength) {
    const std::string stored = FlippingText(carrier, kPasswordRecordStart, 16, 8);
    const std::string message =
        FlippingText(carrier, kMessageRecordStart, messageRecordLength, messageRecordLength);
    SilentReporter quiet;
    const auto size = static_cast<std::int32_t>(carrier.size());
    EXPECT_EQ(CurtainString(carrier.data(), size, kPasswordRecordStart, stored, quiet), 1);
    EXPECT_EQ(CurtainString(carrier.data(), size, kMessageRecordStart, message, quiet), 1);
    return carrier;
}

// What ImageMagick itself writes for `options`, from a varied picture.
Bytes WrittenByImageMagick(const std::string& options, const std::string& format) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("veilnote-im-" + std::to_string(::getpid()) + ".bmp");
    const std::string command = "convert -size 90x60 plasma:fractal -seed 5 " + options + " '" +
                                format + ":" + path.string() + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) {
        return {};
    }
    std::ifstream in(path, std::ios::binary);
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(path);
    return file;
}

void CheckBothDirections(const Case& c) {
    SCOPED_TRACE(c.name);
    const CDamageGuard guard(c.file);
    const std::int64_t safe = guard.SafeCapacity();
    const std::int64_t capacity = MessageCapacity(static_cast<std::int64_t>(c.file.size()));
    const Original original(c.file);
    if (!original.Decodes() || !guard.Picture().Judged()) {
        EXPECT_EQ(safe, 0) << "a file no decoder reads, or one nobody can judge";
        EXPECT_TRUE(guard.CouldVisiblyChange(8));
        return;
    }
    // No Hide it calls safe changes a pixel by more than 2/255.
    for (const std::int64_t length : {std::int64_t{8}, safe}) {
        if (safe > 0) {
            EXPECT_FALSE(guard.CouldVisiblyChange(length));
            EXPECT_FALSE(original.VisiblyChanged(WorstHide(c.file, length))) << length;
        }
    }
    // Just past it some message does, within the allowed caution.
    const std::int64_t past = std::max(safe + 8, std::min(safe + 64, safe * 11 / 10 / 8 * 8));
    if (past <= capacity) {
        EXPECT_TRUE(guard.CouldVisiblyChange(safe + 8));
        EXPECT_TRUE(original.VisiblyChanged(WorstHide(c.file, past))) << past;
    }
}

TEST(DamageGuardTest, VerdictsMatchBothDecodersOnGeneratedBitmaps) {
    for (const Case& c : GeneratedCases()) {
        CheckBothDirections(c);
    }
}

// Copies that keep alpha take their message with alpha moving by at most 1.
TEST(DamageGuardTest, VerdictsMatchBothDecodersOnCopiesThatKeepAlpha) {
    int copies = 0;
    for (const Case& c : GeneratedCases()) {
        const ConvertedBitmap copy = ConvertBitmap(c.file);
        if (!copy.file.empty() && InspectBitmap(copy.file).bitsPerPixel == 32) {
            CheckBothDirections({c.name + ", copied", copy.file});
            ++copies;
        }
    }
    EXPECT_GE(copies, 3);
}

TEST(DamageGuardTest, VerdictsMatchBothDecodersOnBitmapsImageMagickWrites) {
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"-type Palette", "BMP3"},
        {"-compress RLE -type Palette", "BMP3"},
        {"-colors 16", "BMP3"},
        {"-monochrome", "BMP3"},
        {"-type TrueColor", "BMP3"},
        {"-type Palette", "BMP2"},
        {"-define bmp:subtype=RGB565", "BMP"},
        {"-type TrueColorAlpha", "BMP"},
        {"", "PNG"},
    };
    for (const auto& [options, format] : forms) {
        Bytes file = WrittenByImageMagick(options, format);
        ASSERT_FALSE(file.empty()) << options << ' ' << format;
        CheckBothDirections({format + ' ' + options, std::move(file)});
    }
}

TEST(DamageGuardTest, InspectorDescribesTheKind) {
    std::mt19937 rng(3);
    TestBitmap b = Shape(24, 400, 300);
    b.pixels = RandomBytes(PixelBytes(400, 24, 300), rng);
    EXPECT_EQ(DescribePicture(InspectBitmap(WriteBitmap(b))),
              "bitmap, 40-byte header, 24 bits per pixel, 400x300, uncompressed");
    EXPECT_EQ(DescribePicture(InspectBitmap(RandomBytes(100, rng))), "not a bitmap");
    TestBitmap one = Shape(1, 9, 9);
    one.palette = {0, 0xFFFFFF};
    one.pixels = RandomBytes(PixelBytes(9, 1, 9) + 2000, rng);
    EXPECT_EQ(CDamageGuard(WriteBitmap(one)).RiskReason(8),
              "This is a 1-bit bitmap: hiding a message will visibly change some of its pixels.");
}

}  // namespace
