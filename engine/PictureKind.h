#pragma once

#include <cstdint>
#include <span>
#include <string>

// The kind of picture a file's first bytes show, named as people know it
// ("JPEG", "HEIC"), so that a refusal can say what it was given; empty when
// the bytes show no kind named here. Bitmaps are "bitmap".
std::string PictureKindOf(std::span<const std::uint8_t> file);
