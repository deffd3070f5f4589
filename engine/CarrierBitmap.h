#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

// Writes the uncompressed bitmaps every Hide leaves looking the same: 24
// bits with a 40-byte header, or 32 bits with a 124-byte header and masks,
// so that a picture's alpha stays. Shared by the bitmap converter and the
// copies made of decoded pictures, so both carriers have one layout.

// Takes a file's bytes front to back, a piece at a time; false stops the
// writing (a write failed).
using ByteSink = std::function<bool(std::span<const std::uint8_t>)>;

struct RgbaPixel {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0xFF;
};

// The headers' length for a carrier of `bits` (24 or 32) per pixel.
std::int64_t CarrierHeaderBytes(int bits);
// The whole carrier's length.
std::int64_t CarrierBitmapLength(std::int64_t width, std::int64_t height, int bits);
// Whether such a carrier stays within the largest file a carrier may be.
bool CarrierBitmapFits(std::int64_t width, std::int64_t height, int bits);

// Writes headers, then rows bottom row first, into a sink in pieces of
// bounded size.
class CarrierBitmapWriter {
public:
    CarrierBitmapWriter(std::int64_t width, std::int64_t height, int bits, ByteSink sink);

    // The headers; call once, first.
    void Headers();
    // One row of `width` pixels; false when the sink refused a piece.
    bool Row(std::span<const RgbaPixel> row);
    // Hands on what is left; false when the sink refused it.
    bool Finish();

private:
    void Put(std::uint32_t value, int bytes);
    void Zeros(std::int64_t count);
    bool Flush(bool always);

    std::int64_t m_width;
    std::int64_t m_height;
    int m_bits;
    ByteSink m_sink;  // held, so that a lambda given in place outlives the call
    std::vector<std::uint8_t> m_piece;
};
