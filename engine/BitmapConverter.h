#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "BitmapInspector.h"
#include "CarrierBitmap.h"

// Re-encodes a bitmap as an uncompressed one that every Hide leaves looking
// the same: 24 bits with a 40-byte header, or, when the picture shows
// transparency, 32 bits with a 124-byte header and masks, so the alpha stays.
// Each channel is what the common decoders show for the original (between
// their readings where they differ).

class CBitmapConversion {
public:
    // Judges the picture; keeps a view of `file`, which must outlive this.
    explicit CBitmapConversion(std::span<const std::uint8_t> file);

    // Empty when the picture can be converted; otherwise why not, for the user.
    const std::string& Failure() const { return m_failure; }
    // The converted file's exact length, known before any byte is made; 0
    // when it cannot be converted.
    std::int64_t OutputLength() const;
    // 24, or 32 when the copy keeps the picture's alpha.
    int OutputBits() const { return m_outputBits; }

    // Produces the converted file into `sink` in pieces of bounded size,
    // holding no more than a row of the picture at a time. False when it
    // cannot be converted or the sink refused a piece.
    bool Write(const ByteSink& sink) const;

private:
    std::span<const std::uint8_t> m_file;
    BitmapPicture m_picture;
    std::string m_failure;
    int m_outputBits = 24;
    bool m_fourthByteIsAlpha = false;  // whether an unmasked fourth byte shows as alpha
};

struct ConvertedBitmap {
    std::vector<std::uint8_t> file;  // empty when the picture cannot be converted
    std::string failure;             // why not, for the user
    int bits = 0;                    // 24, or 32 when the copy keeps alpha
};

// The whole converted file at once, for callers that keep it in memory.
ConvertedBitmap ConvertBitmap(std::span<const std::uint8_t> file);
