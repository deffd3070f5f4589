#include "DamageGuard.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>

#include "BitmapFormat.h"
#include "CarrierRecords.h"
#include "PasswordRules.h"
#include "RecordGeometry.h"
#include "RleStream.h"

namespace {

// A channel may move by this much (of 255) without anyone seeing it.
constexpr int kUnseenChange = 2;
// Either bit 0 may be written there: enciphered bytes of any password or message.
constexpr int kAnyBit = -1;
// Qt reads run-length pictures into rows of one byte per pixel.
constexpr int kQtRunLengthBits = 8;

bool Harmful(FlipEffect effect) {
    return effect != FlipEffect::kNone;
}

// Whether a pixel whose index moves from `index` to `partner` looks
// different. A Hide may also move the partner's palette colour by 1 in each
// channel byte it changes, which leaves only 1 for the index change there.
bool IndexChangeSeen(const BitmapPicture& picture, std::size_t index, std::size_t partner,
                     const auto& hideMayChange) {
    const auto& palette = picture.palette;
    if (index >= palette.size() || partner >= palette.size()) {
        return true;
    }
    const std::int64_t entry =
        picture.paletteOffset + static_cast<std::int64_t>(partner) * picture.paletteEntrySize;
    const auto seen = [&](int from, int to, std::int64_t position) {
        const int allowed = hideMayChange(position) ? kUnseenChange - 1 : kUnseenChange;
        return std::abs(from - to) > allowed;
    };
    const PaletteColour& a = palette[index];
    const PaletteColour& b = palette[partner];
    return seen(a.blue, b.blue, entry) || seen(a.green, b.green, entry + 1) ||
           seen(a.red, b.red, entry + 2);
}

// What flipping pixel bit `bit` shows through a channel read with `mask`:
// decoders scale a w-bit field to 8 bits, so bit r of it moves the channel
// by about 2^r * 255 / (2^w - 1).
FlipEffect ChannelBitEffect(std::uint32_t mask, int bit) {
    if ((mask >> bit & 1u) == 0) {
        return FlipEffect::kNone;
    }
    if (!ContiguousMask(mask)) {
        return FlipEffect::kColour;
    }
    const int width = std::popcount(mask);
    const int place = bit - std::countr_zero(mask);
    const double change = std::ldexp(255.0, place) / (std::ldexp(1.0, width) - 1.0);
    return change > kUnseenChange ? FlipEffect::kColour : FlipEffect::kNone;
}

// Whether reading pixels with `after` instead of `before` looks the same:
// only when a wide field gains or loses its lowest bit.
bool MaskChangeUnseen(std::uint32_t before, std::uint32_t after) {
    const std::uint32_t changed = before ^ after;
    if (changed == 0) {
        return true;
    }
    if (!ContiguousMask(before) || !ContiguousMask(after) ||
        std::max(std::popcount(before), std::popcount(after)) < 8) {
        return false;
    }
    const int lowest = std::min(std::countr_zero(before), std::countr_zero(after));
    return changed == std::uint32_t{1} << lowest;
}

class RleJudge final : public RleVisitor {
public:
    RleJudge(const BitmapPicture& picture, std::span<const std::uint8_t> carrier,
             const std::vector<FlipEffect>& indexEffect, std::vector<FlipEffect>& effects)
        : m_picture(picture), m_carrier(carrier), m_indexEffect(indexEffect), m_effects(effects) {}

    void Code(std::int64_t position, RleCode kind, std::int64_t x, std::int64_t row) override {
        Set(position,
            CodeChangeShows(position, kind, x, row) ? FlipEffect::kLayout : FlipEffect::kNone);
    }
    void Padding(std::int64_t position) override { Set(position, FlipEffect::kNone); }
    void Pixels(std::int64_t position, std::int64_t x, std::int64_t row,
                std::int64_t count) override {
        // Bit 0 is the last index of the byte: with 4 bits, the low nibble,
        // which only a run's odd pixels use.
        const bool wide = m_picture.bitsPerPixel == 8;
        const std::int64_t first = wide ? 0 : 1;
        const std::int64_t last = wide ? count - 1 : (count % 2 == 0 ? count - 1 : count - 2);
        if (first > last || !(Shown(x + first, row) || Shown(x + last, row))) {
            Set(position, FlipEffect::kNone);
            return;
        }
        const unsigned byte = m_carrier[static_cast<std::size_t>(position)];
        Set(position, m_indexEffect[m_picture.bitsPerPixel == 8 ? byte : byte & 0x0Fu]);
    }

private:
    // Whether a pixel read at (x, row) shows. Pixels past the right edge are
    // dropped by ImageMagick, but Qt writes them on into its next line in
    // memory, the row below, once they are past its row's padding; below the
    // bottom row they are dropped.
    bool Shown(std::int64_t x, std::int64_t row) const {
        return row < m_picture.height &&
               (x < m_picture.width ||
                (row > 0 && x >= RowStride(m_picture.width, kQtRunLengthBits)));
    }

    // Flipping bit 0 of a code moves pixels or breaks the picture, but for
    // codes whose change no decoder shows: the count of an encoded run (2 or
    // more, so it stays one) past the last row, or in the bottom row reaching
    // the right edge either way, only adds or takes pixels that are dropped;
    // and the end of the last row's line, turned into an end of picture,
    // ends decoding where nothing more is shown.
    bool CodeChangeShows(std::int64_t position, RleCode kind, std::int64_t x,
                         std::int64_t row) const {
        switch (kind) {
            case RleCode::kRunCount: {
                const unsigned count = m_carrier[static_cast<std::size_t>(position)];
                const auto shorter = static_cast<std::int64_t>(std::min(count, count ^ 1u));
                return count < 2 ||
                       (row < m_picture.height && (row > 0 || x + shorter < m_picture.width));
            }
            case RleCode::kEndOfLine:
                return row + 1 < m_picture.height;
            default:
                return true;
        }
    }

    void Set(std::int64_t position, FlipEffect effect) {
        m_effects[static_cast<std::size_t>(position - m_picture.pixelOffset)] = effect;
    }

    const BitmapPicture& m_picture;
    std::span<const std::uint8_t> m_carrier;
    const std::vector<FlipEffect>& m_indexEffect;
    std::vector<FlipEffect>& m_effects;
};

// Where the fourth byte is read as alpha unless all are 0, writing bit 0 can
// switch transparency on or off for the whole picture, unless some alpha
// byte is at least 2 and keeps it on.
bool AlphaCanSwitch(const BitmapPicture& picture, std::span<const std::uint8_t> carrier) {
    for (std::int64_t row = 0; row < picture.height; ++row) {
        const std::int64_t start = picture.pixelOffset + row * picture.rowStride;
        for (std::int64_t x = 0; x < picture.width; ++x) {
            if (carrier[static_cast<std::size_t>(start + 4 * x + 3)] >= 2) {
                return false;
            }
        }
    }
    return true;
}

// The bits a Hide writes whatever the password and message are: the password
// record's length word and its second cipher block (the stored form's fixed
// suffix), and the message record's length word.
struct FixedBit {
    std::int64_t position;
    int bit;
};

std::vector<FixedBit> PasswordRecordBits() {
    std::vector<FixedBit> bits;
    for (std::int64_t k = 0; k < kLengthWordBits; ++k) {
        bits.push_back({kPasswordRecordStart - kLengthWordBits + k,
                        static_cast<int>(kPasswordRecordLength >> k & 1)});
    }
    const std::vector<std::uint8_t> cipher =
        EncipherRecordText(std::string(kCipherBlockBytes, 'x') + kStoredSuffix);
    for (std::size_t k = 0; k < cipher.size(); ++k) {
        for (unsigned j = 0; j < 8; ++j) {
            const bool fixed = k >= static_cast<std::size_t>(kCipherBlockBytes);
            const unsigned bit = (unsigned{cipher[k]} >> j) & 1u;
            bits.push_back(
                {CipherBitPosition(kPasswordRecordStart, static_cast<std::int64_t>(k), j),
                 fixed ? static_cast<int>(bit) : kAnyBit});
        }
    }
    return bits;
}

std::int64_t MessageLengthWordPosition(std::int64_t k) {
    return kMessageRecordStart - kLengthWordBits + k;
}

}  // namespace

CDamageGuard::CDamageGuard(std::span<const std::uint8_t> carrier)
    : m_carrier(carrier), m_picture(InspectBitmap(carrier)) {
    if (!m_picture.Vouched()) {
        return;  // pixels are judged only where decoders agree on them
    }
    for (const FixedBit& write : PasswordRecordBits()) {
        m_hideWrites.emplace(write.position, write.bit);
    }
    // Message lengths are whole cipher blocks, and none reaches the high bits.
    const std::int64_t capacity = MessageCapacity(static_cast<std::int64_t>(carrier.size()));
    for (std::int64_t k = 0; k < kLengthWordBits; ++k) {
        if (k < 3 || (std::int64_t{1} << k) > capacity) {
            m_hideWrites.emplace(MessageLengthWordPosition(k), 0);
        }
    }
    const int bits = m_picture.bitsPerPixel;
    if (bits <= 8) {
        const auto hideMayChange = [this](std::int64_t position) {
            return HideMayChange(position);
        };
        for (std::size_t index = 0; index < (std::size_t{1} << bits); ++index) {
            m_indexEffect.push_back(IndexChangeSeen(m_picture, index, index ^ 1u, hideMayChange)
                                        ? FlipEffect::kColour
                                        : FlipEffect::kNone);
        }
    } else if (bits == 16 || bits == 32) {
        for (int byte = 0; byte < bits / 8; ++byte) {
            FlipEffect effect = FlipEffect::kNone;
            for (const std::uint32_t mask : m_picture.masks) {
                if (Harmful(ChannelBitEffect(mask, 8 * byte))) {
                    effect = FlipEffect::kColour;
                }
            }
            m_pixelByteEffect.push_back(effect);
        }
        if (FourthByteReadAsAlpha(bits, m_picture.compression, m_picture.headerSize) &&
            AlphaCanSwitch(m_picture, carrier)) {
            m_pixelByteEffect[3] = FlipEffect::kColour;
        }
    }
    if (IsRunLength(m_picture.compression)) {
        m_rleEffect.assign(static_cast<std::size_t>(m_picture.pixelBytes), FlipEffect::kNone);
        RleJudge judge(m_picture, carrier, m_indexEffect, m_rleEffect);
        WalkRle(carrier, m_picture.pixelOffset, bits, judge);
        m_pixelsHarmless = std::none_of(m_rleEffect.begin(), m_rleEffect.end(), Harmful);
    } else if (bits <= 8) {
        m_pixelsHarmless = std::none_of(m_indexEffect.begin(), m_indexEffect.end(), Harmful);
    } else {
        m_pixelsHarmless =
            std::none_of(m_pixelByteEffect.begin(), m_pixelByteEffect.end(), Harmful);
    }
}

bool CDamageGuard::HideMayChange(std::int64_t position) const {
    if (position < HideSpan(0).first || position >= static_cast<std::int64_t>(m_carrier.size())) {
        return false;
    }
    if (const auto write = m_hideWrites.find(position); write != m_hideWrites.end()) {
        return write->second == kAnyBit ||
               (m_carrier[static_cast<std::size_t>(position)] & 1) != write->second;
    }
    // Bytes between the password record's bits are never written; the
    // message length word's middle bits and the message record may be.
    return position >= MessageLengthWordPosition(0);
}

FlipEffect CDamageGuard::EffectOfFlip(std::int64_t position) const {
    if (position < 0 || position >= static_cast<std::int64_t>(m_carrier.size())) {
        return FlipEffect::kNone;
    }
    if (!m_picture.Judged()) {
        return FlipEffect::kLayout;
    }
    const BitmapPicture& p = m_picture;
    if (position >= p.masksOffset && position < p.masksOffset + 4 * p.masksStored) {
        return p.Vouched() ? MaskEffect(position) : FlipEffect::kChannelMasks;
    }
    if (position >= p.pixelOffset && position < p.pixelOffset + p.pixelBytes) {
        // Pixel data nobody vouches for may show any change.
        return p.Vouched() ? PixelEffect(position) : FlipEffect::kLayout;
    }
    // Headers, palettes, gaps and trailing bytes: decoders ignore bit 0 of
    // every field a Hide can reach, and a palette colour moves by 1.
    return FlipEffect::kNone;
}

FlipEffect CDamageGuard::MaskEffect(std::int64_t position) const {
    const std::int64_t offset = position - m_picture.masksOffset;
    const std::uint32_t mask = m_picture.masks[static_cast<std::size_t>(offset / 4)];
    const std::uint32_t flipped = mask ^ (std::uint32_t{1} << (8 * (offset % 4)));
    return MaskChangeUnseen(mask, flipped) ? FlipEffect::kNone : FlipEffect::kChannelMasks;
}

FlipEffect CDamageGuard::PixelEffect(std::int64_t position) const {
    const std::int64_t offset = position - m_picture.pixelOffset;
    if (!m_rleEffect.empty()) {
        return m_rleEffect[static_cast<std::size_t>(offset)];
    }
    const int bits = m_picture.bitsPerPixel;
    const std::int64_t column = offset % m_picture.rowStride;
    if (bits <= 8) {
        const std::int64_t pixelsPerByte = 8 / bits;
        if (column * pixelsPerByte + pixelsPerByte - 1 >= m_picture.width) {
            return FlipEffect::kNone;  // row padding
        }
        const unsigned byte = m_carrier[static_cast<std::size_t>(position)];
        return m_indexEffect[byte & ((1u << bits) - 1u)];
    }
    const std::int64_t bytesPerPixel = bits / 8;
    if (m_pixelByteEffect.empty() || column >= m_picture.width * bytesPerPixel) {
        return FlipEffect::kNone;  // 24-bit channels move by 1; row padding
    }
    return m_pixelByteEffect[static_cast<std::size_t>(column % bytesPerPixel)];
}

FlipEffect CDamageGuard::EffectOfWrite(std::int64_t position, int bit) const {
    if (position < 0 || position >= static_cast<std::int64_t>(m_carrier.size())) {
        return FlipEffect::kNone;
    }
    if (bit != kAnyBit && (m_carrier[static_cast<std::size_t>(position)] & 1) == bit) {
        return FlipEffect::kNone;
    }
    return EffectOfFlip(position);
}

FlipEffect CDamageGuard::FixedPartEffect(std::int64_t messageRecordLength) const {
    for (const FixedBit& fixed : PasswordRecordBits()) {
        if (const FlipEffect effect = EffectOfWrite(fixed.position, fixed.bit); Harmful(effect)) {
            return effect;
        }
    }
    for (std::int64_t k = 0; k < kLengthWordBits; ++k) {
        const auto bit = static_cast<int>(messageRecordLength >> k & 1);
        if (const FlipEffect effect = EffectOfWrite(MessageLengthWordPosition(k), bit);
            Harmful(effect)) {
            return effect;
        }
    }
    return FlipEffect::kNone;
}

FlipEffect CDamageGuard::MessageCipherEffect(std::int64_t messageRecordLength) const {
    const auto size = static_cast<std::int64_t>(m_carrier.size());
    for (std::int64_t k = 0; k < messageRecordLength; ++k) {
        if (CipherBitPosition(kMessageRecordStart, k, 0) >= size) {
            break;
        }
        for (std::int64_t j = 0; j < 8; ++j) {
            const FlipEffect effect = EffectOfFlip(CipherBitPosition(kMessageRecordStart, k, j));
            if (Harmful(effect)) {
                return effect;
            }
        }
    }
    return FlipEffect::kNone;
}

bool CDamageGuard::CouldVisiblyChange(std::int64_t messageRecordLength) const {
    if (!m_picture.Judged()) {
        return true;
    }
    return Harmful(FixedPartEffect(messageRecordLength)) ||
           Harmful(MessageCipherEffect(messageRecordLength));
}

std::int64_t CDamageGuard::SafeCapacity() const {
    const std::int64_t capacity = MessageCapacity(static_cast<std::int64_t>(m_carrier.size()));
    if (!m_picture.Judged() || capacity == 0 || Harmful(FixedPartEffect(kCipherBlockBytes))) {
        return 0;
    }
    std::int64_t limit = capacity;

    // The message length word: a byte whose flip shows must keep its bit 0,
    // so the lengths go on up to the first one that changes such a bit.
    std::uint32_t seen = 0;
    for (std::int64_t k = 0; k < kLengthWordBits; ++k) {
        if (Harmful(EffectOfFlip(MessageLengthWordPosition(k)))) {
            seen |= std::uint32_t{1} << k;
        }
    }
    // Lengths are multiples of 8, so bits 0-2 never change (8 was judged above).
    seen &= ~std::uint32_t{7};
    if (seen != 0) {
        const int lowest = std::countr_zero(seen);
        limit = std::min(limit, lowest == 3 ? kCipherBlockBytes
                                            : (std::int64_t{1} << lowest) - kCipherBlockBytes);
    }

    // The enciphered message: the first cipher byte k that would reach a byte
    // whose flip shows ends the safe lengths at k.
    if (!m_pixelsHarmless) {
        const std::int64_t end = std::min(m_picture.pixelOffset + m_picture.pixelBytes,
                                          RecordEnd(kMessageRecordStart, limit));
        std::int64_t firstBad = limit;
        for (std::int64_t p = std::max<std::int64_t>(kMessageRecordStart, m_picture.pixelOffset);
             p < end; ++p) {
            // No cipher byte below this one can reach p or anything after it.
            if ((p - CipherBitPosition(kMessageRecordStart, 0, 7)) / kByteStride >= firstBad) {
                break;
            }
            if (!Harmful(EffectOfFlip(p))) {
                continue;
            }
            for (std::int64_t j = 0; j < 8; ++j) {
                const std::int64_t offset = p - CipherBitPosition(kMessageRecordStart, 0, j);
                if (offset >= 0 && offset % kByteStride == 0) {
                    firstBad = std::min(firstBad, offset / kByteStride);
                }
            }
        }
        limit = std::min(limit, firstBad);
    }
    limit = limit / kCipherBlockBytes * kCipherBlockBytes;
    return limit >= kCipherBlockBytes ? limit : 0;
}

std::string CDamageGuard::RiskReason(std::int64_t messageRecordLength) const {
    if (!m_picture.isBitmap) {
        return "This file is not a bitmap: hiding a message may break it.";
    }
    const std::string kind = PictureKind(m_picture);
    const std::string article = kind.starts_with('8') ? "an " : "a ";
    if (!m_picture.unvouched.empty()) {
        return "This is " + article + kind + ", but " + m_picture.unvouched +
               ": hiding a message may visibly change it or break it.";
    }
    FlipEffect effect = FixedPartEffect(messageRecordLength);
    if (!Harmful(effect)) {
        effect = MessageCipherEffect(messageRecordLength);
    }
    const std::string what = SafeCapacity() > 0 ? "hiding a message this long" : "hiding a message";
    switch (effect) {
        case FlipEffect::kLayout:
            return "This is " + article + kind + ": " + what + " will scramble its pixels.";
        case FlipEffect::kChannelMasks:
            return "This is " + article + kind + ": " + what +
                   " will change how its colours are read.";
        case FlipEffect::kColour:
        case FlipEffect::kNone:
            break;
    }
    return "This is " + article + kind + ": " + what + " will visibly change some of its pixels.";
}

std::string CDamageGuard::Warning(std::int64_t messageRecordLength) const {
    const std::int64_t safe = SafeCapacity();
    return RiskReason(messageRecordLength) +
           (safe > 0 ? " It takes up to " + std::to_string(safe) + " message bytes safely."
                     : " No message can be hidden in it safely.");
}
