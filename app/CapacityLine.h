#pragma once

#include <cstdint>
#include <string>

#include "CarrierFacts.h"

// How a message of some length stands against the picture it would go into.
enum class MessageRoom {
    kNoPicture,
    kSafe,           // within what the picture takes without any visible change
    kVisibleChange,  // longer: Hide asks first, as it could visibly change the picture
    kTooLong,        // longer than the size rule allows: Hide refuses it
};

// The one line under the message that says how much of the picture it takes,
// e.g. "312 of 1,032 bytes safely (sealed: 700); up to 5,465 with visible
// changes". Seal is chosen only later, so both figures are named. Judged on
// the plain figures, which every Hide needs at least.
struct CapacityLine {
    std::string text;
    MessageRoom room = MessageRoom::kNoPicture;
};

// Whose figures a line gives: the picture's own, or those of the bitmap copy
// Convert makes of a picture that cannot carry a message itself; that line
// starts "Copy: ", short enough for the largest carrier's figures.
enum class CapacityOf { kPicture, kConvertedCopy };

// `facts` null: no picture is open.
CapacityLine DescribeCapacity(const CarrierFacts* facts, std::int64_t messageLength,
                              CapacityOf capacityOf = CapacityOf::kPicture);
