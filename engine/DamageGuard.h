#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "BitmapInspector.h"

// Whether a Hide could visibly change a picture: make it stop decoding,
// change its size, or move any channel of any pixel (alpha included) by more
// than 2 of 255, as either of the common decoders shows it. A Hide is judged
// for every password and every message of its length, with both length words
// as Hide writes them. A file that is not a bitmap is always at risk; a
// bitmap whose pixel data nobody can vouch for is at risk once a Hide
// reaches its pixel data.

// What flipping bit 0 of one carrier byte would do to the picture.
enum class FlipEffect : std::uint8_t {
    kNone,
    kColour,        // a pixel's colour or transparency moves visibly
    kLayout,        // run-length codes: pixels move or the picture breaks
    kChannelMasks,  // the masks that say how pixels are read
};

class CDamageGuard {
public:
    // Keeps a view of `carrier`, which must outlive the guard.
    explicit CDamageGuard(std::span<const std::uint8_t> carrier);

    const BitmapPicture& Picture() const { return m_picture; }

    // Whether a Hide whose message record is `messageRecordLength` enciphered
    // bytes (a multiple of 8) could visibly change the picture. Bytes beyond
    // the carrier's end are not judged: such a Hide fails for size anyway.
    bool CouldVisiblyChange(std::int64_t messageRecordLength) const;

    // The longest message record (a multiple of 8 bytes) such that no Hide of
    // it, or of any shorter message, visibly changes the picture; 0 if none.
    std::int64_t SafeCapacity() const;

    // One sentence for the user on why a Hide of that length is at risk,
    // e.g. "This is a 1-bit bitmap: hiding a message will visibly change
    // some of its pixels."
    std::string RiskReason(std::int64_t messageRecordLength) const;

    // The reason followed by what the picture takes safely: the text the
    // window's question and the command-line tool's refusal share.
    std::string Warning(std::int64_t messageRecordLength) const;

    FlipEffect EffectOfFlip(std::int64_t position) const;

private:
    FlipEffect PixelEffect(std::int64_t position) const;
    FlipEffect MaskEffect(std::int64_t position) const;
    // What a byte written with bit 0 `bit` (0, 1, or -1 for either) would do.
    FlipEffect EffectOfWrite(std::int64_t position, int bit) const;
    // The first harmful effect among the bytes the password record and both
    // length words write for a message record of that length.
    FlipEffect FixedPartEffect(std::int64_t messageRecordLength) const;
    FlipEffect MessageCipherEffect(std::int64_t messageRecordLength) const;
    // Whether some Hide writes a different bit 0 into that byte.
    bool HideMayChange(std::int64_t position) const;

    std::span<const std::uint8_t> m_carrier;
    BitmapPicture m_picture;
    // Per palette index: what flipping its bit 0 shows.
    std::vector<FlipEffect> m_indexEffect;
    // Per byte of a 16- or 32-bit pixel: what flipping its bit 0 shows.
    std::vector<FlipEffect> m_pixelByteEffect;
    // Per byte of run-length data.
    std::vector<FlipEffect> m_rleEffect;
    bool m_pixelsHarmless = false;
    // Bits every Hide writes (or kAnyBit where the password or message
    // decides), by carrier byte: the password record and the message length
    // word's bits that no length sets.
    std::map<std::int64_t, int> m_hideWrites;
};
