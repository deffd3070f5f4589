#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "CarrierBitmap.h"
#include "PictureKind.h"

// Pictures that are not bitmaps (PNG, JPEG, WebP, GIF, TIFF), read through
// the decoder module, which is loaded only here: bitmaps never load it, so
// the tool starts as quickly as it did without it.

// Kind and size from the picture's headers alone; a failure names why it
// cannot become a carrier. Throws Refusal when the decoder cannot be loaded.
PictureHeader ProbePictureFile(std::span<const std::uint8_t> file);

// Decodes the picture and writes its carrier bitmap into `sink`: 24 bits, or
// 32 when a pixel is not opaque. Throws Refusal when the picture cannot be
// decoded; returns false when the sink refused a piece.
struct PictureCarrier {
    std::int64_t length = 0;
    int bits = 24;
};
bool WritePictureCarrier(std::span<const std::uint8_t> file, const ByteSink& sink,
                         PictureCarrier& made);
