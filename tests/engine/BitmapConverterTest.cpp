// A converted bitmap must look exactly like its original to both decoders,
// and take a message safely.

#include <gtest/gtest.h>

#include "BitmapConverter.h"
#include "DamageGuard.h"
#include "DecoderOracles.h"
#include "RecordGeometry.h"
#include "TestBitmaps.h"

namespace {

// Decoders widen 5- and 6-bit channels differently (by up to 7 of 255), so
// no 24-bit copy can match both exactly; everything else must.
bool ShortChannels(const BitmapPicture& picture) {
    return picture.bitsPerPixel == 16;
}

TEST(BitmapConverterTest, ConvertedPicturesMatchTheOriginalInBothDecoders) {
    int converted = 0;
    for (const Case& c : GeneratedCases()) {
        SCOPED_TRACE(c.name);
        const BitmapPicture original = InspectBitmap(c.file);
        const ConvertedBitmap copy = ConvertTo24Bit(c.file);
        if (!original.Vouched()) {
            EXPECT_TRUE(copy.file.empty());
            EXPECT_FALSE(copy.failure.empty());
            continue;
        }
        if (copy.file.empty()) {  // only real transparency is refused
            EXPECT_EQ(original.bitsPerPixel, 32);
            EXPECT_NE(copy.failure.find("transparent"), std::string::npos) << copy.failure;
            continue;
        }
        ++converted;
        EXPECT_EQ(DescribePicture(InspectBitmap(copy.file)),
                  "bitmap, 40-byte header, 24 bits per pixel, " + std::to_string(original.width) +
                      "x" + std::to_string(original.height) + ", uncompressed");
        const int allowed = ShortChannels(original) ? 4 : 0;
        for (const auto decode : {DecodeWithQt, DecodeWithImageMagick}) {
            const Decoded before = decode(c.file);
            if (before.ok) {
                EXPECT_LE(Change(before, decode(copy.file)), allowed);
            }
        }
        const CDamageGuard guard(copy.file);
        EXPECT_EQ(guard.SafeCapacity(),
                  MessageCapacity(static_cast<std::int64_t>(copy.file.size())));
    }
    EXPECT_GE(converted, 18);
}

TEST(BitmapConverterTest, TransparencyIsNotDroppedSilently) {
    TestBitmap b = Shape(32, 4, 4, 124, 3);
    b.masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    b.pixels.assign(64, 0x80);
    EXPECT_EQ(ConvertTo24Bit(WriteBitmap(b)).failure,
              "it has transparent pixels, which a 24-bit bitmap cannot keep");
}

}  // namespace
