// The damage guard against the two decoders people open pictures with: Qt's
// QImage and ImageMagick. Bitmaps of every kind are generated, hidden in
// around the safe capacity, and decoded before and after.

#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "BlowfishCipher.h"
#include "CarrierRecords.h"
#include "DamageGuard.h"
#include "PasswordRules.h"
#include "TestBitmaps.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Decoded {
    bool ok = false;
    int width = 0;
    int height = 0;
    Bytes rgba;
};

Decoded DecodeWithQt(const Bytes& file) {
    const QImage image = QImage::fromData(file.data(), static_cast<int>(file.size()), "BMP")
                             .convertToFormat(QImage::Format_RGBA8888);
    if (image.isNull()) {
        return {};
    }
    Decoded decoded{true, image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = image.constScanLine(y);
        decoded.rgba.insert(decoded.rgba.end(), line, line + 4 * image.width());
    }
    return decoded;
}

// ImageMagick's reading, as a PAM stream widened to RGBA.
Decoded DecodeWithImageMagick(const Bytes& file) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("veilnote-guard-" + std::to_string(::getpid()) + ".bmp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    const std::string command = "convert 'BMP:" + path.string() + "' -depth 8 pam:- 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[65536];
    for (std::size_t got; pipe && (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, got);
    }
    const int status = pipe ? ::pclose(pipe) : -1;
    std::filesystem::remove(path);
    const std::size_t end = out.find("ENDHDR\n");
    if (status != 0 || end == std::string::npos) {
        return {};
    }
    std::istringstream header(out.substr(0, end));
    Decoded decoded{true, 0, 0, {}};
    int depth = 0;
    std::string tuple;
    for (std::string key; header >> key;) {
        if (key == "WIDTH")
            header >> decoded.width;
        if (key == "HEIGHT")
            header >> decoded.height;
        if (key == "DEPTH")
            header >> depth;
        if (key == "TUPLTYPE")
            header >> tuple;
    }
    const std::string_view samples = std::string_view(out).substr(end + 7);
    const bool grey = tuple.starts_with("GRAYSCALE");
    const bool alpha = tuple.ends_with("_ALPHA");
    const auto step = static_cast<std::size_t>(std::max(depth, 1));
    for (std::size_t i = 0; i + step <= samples.size(); i += step) {
        for (std::size_t c = 0; c < 3; ++c) {
            decoded.rgba.push_back(static_cast<std::uint8_t>(samples[i + (grey ? 0 : c)]));
        }
        decoded.rgba.push_back(alpha ? static_cast<std::uint8_t>(samples[i + step - 1]) : 255);
    }
    return decoded;
}

// How far the picture moved: 255 when it stops decoding or changes size.
int Change(const Decoded& before, const Decoded& after) {
    if (!after.ok || after.width != before.width || after.height != before.height ||
        after.rgba.size() != before.rgba.size()) {
        return 255;
    }
    int most = 0;
    for (std::size_t i = 0; i < before.rgba.size(); ++i) {
        most = std::max(most, std::abs(before.rgba[i] - after.rgba[i]));
    }
    return most;
}

struct Verdict {
    bool decodes = false;  // by either decoder
    bool visible = false;  // by either decoder that decoded the original
};

Verdict Compare(const Bytes& before, const Bytes& after) {
    Verdict verdict;
    for (const auto decode : {DecodeWithQt, DecodeWithImageMagick}) {
        const Decoded original = decode(before);
        if (original.ok) {
            verdict.decodes = true;
            verdict.visible = verdict.visible || Change(original, decode(after)) > 2;
        }
    }
    return verdict;
}

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

class Quiet : public Reporter {
public:
    void Report(const std::string&) override {}
};

Bytes WorstHide(Bytes carrier, std::int64_t messageRecordLength) {
    const std::string stored = FlippingText(carrier, kPasswordRecordStart, 16, 8);
    const std::string message =
        FlippingText(carrier, kMessageRecordStart, messageRecordLength, messageRecordLength);
    Quiet quiet;
    const auto size = static_cast<std::int32_t>(carrier.size());
    EXPECT_EQ(CurtainString(carrier.data(), size, kPasswordRecordStart, stored, quiet), 1);
    EXPECT_EQ(CurtainString(carrier.data(), size, kMessageRecordStart, message, quiet), 1);
    return carrier;
}

// Palettes whose neighbouring indexes look alike, and ones where they do not.
std::vector<std::uint32_t> Palette(int entries, bool smooth, std::mt19937& rng) {
    std::vector<std::uint32_t> palette;
    for (int i = 0; i < entries; ++i) {
        const auto level = static_cast<std::uint32_t>(i * 255 / std::max(1, entries - 1));
        palette.push_back(smooth ? level * 0x010101u : rng() & 0xFFFFFFu);
    }
    return palette;
}

Bytes RandomBytes(std::size_t count, std::mt19937& rng, unsigned below = 256) {
    Bytes bytes(count);
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(rng() % below);
    }
    return bytes;
}

// Run-length data of rows of runs and literals with indexes below `colours`.
Bytes RleRows(int width, int height, int bits, unsigned colours, std::mt19937& rng) {
    Bytes data;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width;) {
            const int count = std::min(width - x, 3 + static_cast<int>(rng() % 12));
            const auto index = [&] { return static_cast<std::uint8_t>(rng() % colours); };
            if (count >= 3 && rng() % 3 == 0) {  // literal run (1 and 2 are escapes)
                data.push_back(0), data.push_back(static_cast<std::uint8_t>(count));
                const int bytes = bits == 8 ? count : (count + 1) / 2;
                for (int i = 0; i < bytes; ++i) {
                    data.push_back(bits == 8 ? index()
                                             : static_cast<std::uint8_t>(index() << 4 | index()));
                }
                if (bytes % 2 != 0) {
                    data.push_back(0);
                }
            } else {
                data.push_back(static_cast<std::uint8_t>(count));
                data.push_back(bits == 8 ? index()
                                         : static_cast<std::uint8_t>(index() << 4 | index()));
            }
            x += count;
        }
        data.push_back(0), data.push_back(0);
    }
    data.push_back(0), data.push_back(1);
    return data;
}

struct Case {
    std::string name;
    Bytes file;
};

std::vector<Case> GeneratedCases() {
    std::mt19937 rng(8);
    std::vector<Case> cases;
    const int w = 61;
    const int h = 40;
    for (const int bits : {1, 4, 8}) {
        for (const bool smooth : {true, false}) {
            const int tall = bits < 8 ? 200 : h;  // big enough for a message
            TestBitmap b = Shape(bits, w, tall);
            b.palette = Palette(1 << bits, smooth, rng);
            b.pixels = RandomBytes(RowStride(w, bits) * static_cast<std::uint32_t>(tall), rng);
            cases.push_back(
                {std::to_string(bits) + "-bit " + (smooth ? "smooth" : "harsh"), WriteBitmap(b)});
        }
    }
    {
        TestBitmap b = Shape(8, w, h, 12);
        b.palette = Palette(256, true, rng);
        b.palette[77] = 0xFF0000;  // one harsh pair among smooth ones
        b.pixels = RandomBytes(RowStride(w, 8) * h, rng);
        cases.push_back({"8-bit core header", WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(8, w, h, 108);
        b.coloursUsed = 20;
        b.palette = Palette(20, false, rng);
        b.pixels = RandomBytes(RowStride(w, 8) * h, rng, 20);
        cases.push_back({"8-bit 20 colours, 108-byte header", WriteBitmap(b)});
    }
    for (const int bits : {8, 4}) {
        for (const bool smooth : {true, false}) {
            TestBitmap b = Shape(bits, w, 3 * h, 40, bits == 8 ? 1u : 2u);
            b.palette = Palette(1 << bits, smooth, rng);
            b.pixels = RleRows(w, 3 * h, bits, 1u << bits, rng);
            cases.push_back(
                {"RLE" + std::to_string(bits) + (smooth ? " smooth" : " harsh"), WriteBitmap(b)});
        }
    }
    for (const std::uint32_t header : {12u, 40u, 64u, 108u, 124u}) {
        TestBitmap b = Shape(24, w, h, header);
        b.topDown = header == 124;
        b.pixels = RandomBytes(RowStride(w, 24) * h, rng);
        b.gap = header == 40 ? 30 : 0;
        b.trailing = header == 64 ? 100 : 0;
        cases.push_back({"24-bit header " + std::to_string(header), WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(16, w, h, 40, 3);
        b.masks = {0xF800, 0x07E0, 0x001F};
        b.pixels = RandomBytes(RowStride(w, 16) * h, rng);
        cases.push_back({"16-bit 565", WriteBitmap(b)});
        b.compression = 0;
        b.masks.clear();
        cases.push_back({"16-bit 555", WriteBitmap(b)});
    }
    for (const unsigned alpha : {0u, 255u}) {
        TestBitmap b = Shape(32, w, h);
        b.pixels = RandomBytes(RowStride(w, 32) * h, rng);
        for (std::size_t i = 3; i < b.pixels.size(); i += 4) {
            b.pixels[i] = static_cast<std::uint8_t>(alpha);
        }
        cases.push_back({"32-bit alpha " + std::to_string(alpha), WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(32, w, h, 124, 3);
        b.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
        b.pixels = RandomBytes(RowStride(w, 32) * h, rng);
        cases.push_back({"32-bit with alpha mask", WriteBitmap(b)});
    }
    {
        TestBitmap b = Shape(24, w, h, 40, 4);  // JPEG inside
        b.pixels = RandomBytes(4000, rng);
        cases.push_back({"JPEG inside", WriteBitmap(b)});
        TestBitmap cut = Shape(24, w, h);
        cut.pixels = RandomBytes(RowStride(w, 24) * h, rng);
        Bytes file = WriteBitmap(cut);
        file.resize(file.size() - 10);
        cases.push_back({"cut short", file});
        cases.push_back({"random bytes", RandomBytes(5000, rng)});
    }
    return cases;
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
    const Verdict plain = Compare(c.file, c.file);
    if (!plain.decodes || !guard.Picture().Vouched()) {
        EXPECT_EQ(safe, 0) << "a file no decoder reads, or one nobody can vouch for";
        EXPECT_TRUE(guard.CouldVisiblyChange(8));
        return;
    }
    // No Hide it calls safe changes a pixel by more than 2/255.
    for (const std::int64_t length : {std::int64_t{8}, safe}) {
        if (safe > 0) {
            EXPECT_FALSE(guard.CouldVisiblyChange(length));
            EXPECT_FALSE(Compare(c.file, WorstHide(c.file, length)).visible) << length;
        }
    }
    // Just past it some message does, within the allowed caution.
    const std::int64_t past = std::max(safe + 8, std::min(safe + 64, safe * 11 / 10 / 8 * 8));
    if (past <= capacity) {
        EXPECT_TRUE(guard.CouldVisiblyChange(safe + 8));
        EXPECT_TRUE(Compare(c.file, WorstHide(c.file, past)).visible) << past;
    }
}

TEST(DamageGuardTest, VerdictsMatchBothDecodersOnGeneratedBitmaps) {
    for (const Case& c : GeneratedCases()) {
        CheckBothDirections(c);
    }
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
    b.pixels = RandomBytes(RowStride(400, 24) * 300, rng);
    EXPECT_EQ(DescribePicture(InspectBitmap(WriteBitmap(b))),
              "bitmap, 40-byte header, 24 bits per pixel, 400x300, uncompressed");
    EXPECT_EQ(DescribePicture(InspectBitmap(RandomBytes(100, rng))), "not a bitmap");
    TestBitmap one = Shape(1, 9, 9);
    one.palette = {0, 0xFFFFFF};
    one.pixels = RandomBytes(RowStride(9, 1) * 9 + 2000, rng);
    EXPECT_EQ(CDamageGuard(WriteBitmap(one)).RiskReason(8),
              "This is a 1-bit bitmap: hiding a message will visibly change some of its pixels.");
}

}  // namespace
