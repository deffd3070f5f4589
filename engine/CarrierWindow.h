#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Bytes [offset, offset + bytes.size()) of a carrier `carrierLength` bytes
// long, held in memory: enough to read or write records without holding the
// rest of the carrier. The record routines give the same results on a window
// that holds the bytes they touch as on the whole carrier; a routine that
// would touch a byte outside its window takes that as a caller's mistake and
// fails without a report, touching nothing.
template <typename Byte>
struct BasicCarrierWindow {
    std::span<Byte> bytes;
    std::int64_t offset = 0;
    std::int32_t carrierLength = 0;

    // Whether the window holds every byte of [first, end).
    bool Holds(std::int64_t first, std::int64_t end) const {
        return first >= offset && first <= end &&
               end <= offset + static_cast<std::int64_t>(bytes.size());
    }
    // The carrier byte at `position`, which the window must hold.
    Byte& At(std::int64_t position) const {
        return bytes[static_cast<std::size_t>(position - offset)];
    }
};

using CarrierWindow = BasicCarrierWindow<std::uint8_t>;
using CarrierView = BasicCarrierWindow<const std::uint8_t>;

// A carrier held in memory as a whole, as a window.
inline CarrierWindow WholeCarrier(std::uint8_t* carrier, std::int32_t carrierLength) {
    return {{carrier, static_cast<std::size_t>(carrierLength > 0 ? carrierLength : 0)},
            0,
            carrierLength};
}
inline CarrierView WholeCarrier(const std::uint8_t* carrier, std::int32_t carrierLength) {
    return {{carrier, static_cast<std::size_t>(carrierLength > 0 ? carrierLength : 0)},
            0,
            carrierLength};
}
