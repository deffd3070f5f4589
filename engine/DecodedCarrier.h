#pragma once

#include <cstdint>

#include "CarrierBitmap.h"

// A decoded picture's pixels, as a decoder outside the engine hands them on:
// rows top row first, `stride` bytes apart, each pixel four bytes red, green,
// blue and alpha (not premultiplied).
struct DecodedPixels {
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::int64_t stride = 0;
    const std::uint8_t* rgba = nullptr;
};

// 32 when any pixel is not opaque, so that the carrier keeps the alpha; 24
// otherwise.
int DecodedCarrierBits(const DecodedPixels& pixels);

// Writes the carrier bitmap of `bits` per pixel (as DecodedCarrierBits
// chose) into `sink`; false when the sink refused a piece.
bool WriteDecodedCarrier(const DecodedPixels& pixels, int bits, const ByteSink& sink);
