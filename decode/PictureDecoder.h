#pragma once

#include <QImage>
#include <cstdint>
#include <span>
#include <string>

#include "BitmapConverter.h"
#include "PictureKind.h"

// Reads the pictures people have (PNG, JPEG, WebP, GIF, TIFF) through Qt's
// image reader, the same way for the window and the tool, so that one
// picture always gives the same carrier.

struct DecodedPicture {
    PictureHeader header;
    QImage image;  // RGBA 8888, sRGB, upright; null on failure
};

// The largest carrier a decoded picture may become, in bytes.
struct DecodeLimits {
    std::int64_t maxCarrierBytes;
};
DecodeLimits DefaultDecodeLimits();

// Kind and size from the headers alone; refuses, before anything is
// decoded, a picture whose carrier could not be written.
PictureHeader ProbePicture(std::span<const std::uint8_t> file,
                           const DecodeLimits& limits = DefaultDecodeLimits());

// The first frame or page, upright, in sRGB, 8 bits a channel.
DecodedPicture DecodePicture(std::span<const std::uint8_t> file,
                             const DecodeLimits& limits = DefaultDecodeLimits());

// The whole carrier bitmap made from a decoded picture, in memory.
ConvertedBitmap ConvertPicture(std::span<const std::uint8_t> file);
