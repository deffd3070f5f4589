// A converted bitmap must look like its original to both decoders, keep its
// transparency, take a message safely, and come out the same whether it is
// streamed or made whole.

#include <gtest/gtest.h>

#include <random>

#include "BitmapConverter.h"
#include "DamageGuard.h"
#include "DecoderOracles.h"
#include "RecordGeometry.h"
#include "TestBitmaps.h"

namespace {

// How far the copy strays from what the decoders that read the original
// show: where they differ, anything between their readings is right; 2 of
// 255 beyond is not seen. 255 when the copy does not decode at that size.
int StrayFromReadings(const std::vector<Decoded>& readings, const Decoded& copy) {
    int most = 0;
    for (const Decoded& reading : readings) {
        if (!copy.ok || copy.width != reading.width || copy.height != reading.height ||
            copy.rgba.size() != reading.rgba.size()) {
            return 255;
        }
    }
    for (std::size_t i = 0; i < copy.rgba.size(); ++i) {
        int low = 255;
        int high = 0;
        for (const Decoded& reading : readings) {
            low = std::min(low, int{reading.rgba[i]});
            high = std::max(high, int{reading.rgba[i]});
        }
        most = std::max({most, low - copy.rgba[i], copy.rgba[i] - high});
    }
    return most;
}

bool ShowsTransparency(const std::vector<Decoded>& readings) {
    for (const Decoded& reading : readings) {
        for (std::size_t i = 3; i < reading.rgba.size(); i += 4) {
            if (reading.rgba[i] != 0xFF) {
                return true;
            }
        }
    }
    return false;
}

TEST(BitmapConverterTest, ConvertedPicturesMatchTheOriginalInBothDecoders) {
    int converted = 0;
    int keptAlpha = 0;
    for (const Case& c : GeneratedCases()) {
        SCOPED_TRACE(c.name);
        const BitmapPicture original = InspectBitmap(c.file);
        const ConvertedBitmap copy = ConvertBitmap(c.file);
        if (!original.Vouched()) {
            EXPECT_TRUE(copy.file.empty());
            EXPECT_FALSE(copy.failure.empty());
            continue;
        }
        ASSERT_FALSE(copy.file.empty()) << copy.failure;
        ++converted;
        EXPECT_EQ(static_cast<std::int64_t>(copy.file.size()),
                  CBitmapConversion(c.file).OutputLength());
        std::vector<Decoded> readings;
        for (const auto decode : {DecodeWithQt, DecodeWithImageMagick}) {
            if (Decoded reading = decode(c.file); reading.ok) {
                readings.push_back(std::move(reading));
            }
        }
        const bool alpha = ShowsTransparency(readings);
        keptAlpha += alpha ? 1 : 0;
        const std::string size =
            std::to_string(original.width) + "x" + std::to_string(original.height);
        EXPECT_EQ(DescribePicture(InspectBitmap(copy.file)),
                  alpha ? "bitmap, 124-byte header, 32 bits per pixel, " + size + ", bitfields"
                        : "bitmap, 40-byte header, 24 bits per pixel, " + size + ", uncompressed");
        for (const auto decode : {DecodeWithQt, DecodeWithImageMagick}) {
            EXPECT_LE(StrayFromReadings(readings, decode(copy.file)), 2);
        }
        const CDamageGuard guard(copy.file);
        EXPECT_EQ(guard.SafeCapacity(),
                  MessageCapacity(static_cast<std::int64_t>(copy.file.size())));
    }
    EXPECT_GE(converted, 22);
    EXPECT_GE(keptAlpha, 3);
}

// Pieces of a large run-length picture, streamed, make the same file as the
// whole conversion, none of them much larger than a row; a sink that fails
// stops the conversion.
TEST(BitmapConverterTest, StreamedPiecesMakeTheWholeFile) {
    std::mt19937 rng(11);
    TestBitmap b = Shape(8, 3000, 90, 40, 1);
    b.palette = Palette(256, false, rng);
    b.pixels = RleRows(3000, 90, 8, 256, rng);
    const Bytes file = WriteBitmap(b);
    const CBitmapConversion conversion(file);
    Bytes streamed;
    std::size_t largest = 0;
    EXPECT_TRUE(conversion.Write([&](std::span<const std::uint8_t> piece) {
        streamed.insert(streamed.end(), piece.begin(), piece.end());
        largest = std::max(largest, piece.size());
        return true;
    }));
    EXPECT_EQ(streamed, ConvertBitmap(file).file);
    EXPECT_EQ(static_cast<std::int64_t>(streamed.size()), conversion.OutputLength());
    EXPECT_LE(largest, (std::size_t{64} << 10) + 3 * 3000 + 4);
    int pieces = 0;
    EXPECT_FALSE(conversion.Write([&pieces](std::span<const std::uint8_t>) {
        ++pieces;
        return false;
    }));
    EXPECT_EQ(pieces, 1);
}

}  // namespace
