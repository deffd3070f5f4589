#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "CarrierFacts.h"

// What a picture that is not a bitmap offers a Hide: it carries no records
// of its own making, so its size and capacities are those of the carrier
// Convert would make of it, a bitmap of `width` x `height`. Before decoding
// that is known only as the 24-bit carrier, the smallest Convert makes: a
// picture that shows transparency becomes a larger 32-bit one, so no figure
// here is above what the copy takes. Its records are still read from the
// file's own bytes: older forced hides wrote them into such files. Nothing
// is decoded and no picture-sized memory is used. Nothing when even the
// address space for that carrier is lacking.
inline constexpr int kPictureFactsBits = 24;
std::optional<CarrierFacts> ReadPictureFacts(std::span<const std::uint8_t> file, std::int64_t width,
                                             std::int64_t height);
