#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "CarrierRecords.h"
#include "SealedMessage.h"
#include "SecretText.h"

// The road of a Reveal, and of what `info` says, shared by the window and
// the command-line tool. The records are read in place through a fetch
// function, so that reading costs what the records cost, whatever the
// carrier's size; nothing is reported while reading: a front end that finds
// no record tells the user kNoCurtainedData once.
class CarrierReading {
public:
    // What Reveal will do with the carrier.
    enum class Kind {
        kNoRecords,  // nothing to reveal: "Image does not contain curtained data .."
        kPlain,      // a password record whose stored form the entry must match
        kSealed,     // a sealed box that the whole password opens
    };

    // Reads the password record, and the message record only when the
    // password record marks a sealed carrier. Throws what `fetch` throws.
    CarrierReading(std::int32_t carrierLength, CarrierFetch fetch);
    // A carrier held whole in memory, which must outlive the reading.
    CarrierReading(const std::uint8_t* carrier, std::int32_t carrierLength);

    Kind GetKind() const { return m_kind; }
    // The password record's text; empty when there is none.
    const std::string& Stored() const { return m_stored; }
    // The sealed box, for a sealed carrier.
    const std::optional<SealedBox>& Box() const { return m_box; }

    // Whether `entry` is the password of a plain carrier.
    bool Matches(std::string_view entry) const;
    // The message of a sealed carrier, or nothing when `password` does not
    // open it. Throws std::bad_alloc when the key derivation cannot get its
    // memory.
    std::optional<SecretText> OpenSealed(std::string_view password) const;
    // The message record of a plain carrier, read now (after the password):
    // nothing when there is no readable record. A message of blanks reads as
    // the empty text.
    std::optional<std::string> ReadMessage() const;

private:
    std::int32_t m_carrierLength = 0;
    CarrierFetch m_fetch;
    Kind m_kind = Kind::kNoRecords;
    std::string m_stored;
    std::optional<SealedBox> m_box;
};
