#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "BitmapConverter.h"
#include "CarrierWindow.h"
#include "RecordGeometry.h"
#include "Reporter.h"
#include "SealedMessage.h"

// The road of a Hide, shared by the window and the command-line tool: judge
// the Hide before anything is asked, make the two record texts once the
// password is known, write both into the carrier. The front ends only ask
// their questions and show or print what this gives them.

// What the user is told on the way, word for word the same in both front ends.
inline constexpr const char* kEmptyMessage = "There is no text to curtain";
inline constexpr const char* kOperationAborted = "Operation aborted ..     ";
// The damage question.
inline constexpr const char* kHideAnyway = "Hide the message anyway?";
// Added to the wipe warning where Seal is still to be chosen and a sealed
// record would cover what the plain one leaves.
inline constexpr const char* kSealedLeavesNone =
    "Sealed, the longer message record leaves none of it readable.";
inline constexpr const char* kSealedTakesMore =
    "Sealed, the message takes more room in the picture than it does plain.";

// How the message goes into its record.
enum class Sealing { kPlain, kSealed };

// The message record's length for a message of `messageLength` bytes: its
// padded text, or for a sealed message the padded sealed text.
std::int64_t MessageRecordLength(std::int64_t messageLength, Sealing sealing);

// The longest message a carrier of `carrierLength` bytes takes, so sealed or not.
std::int64_t LongestMessage(std::int64_t carrierLength, Sealing sealing);
// The longest message that, so sealed or not, fits a message record of
// `recordCapacity` bytes.
std::int64_t LongestMessageInRecord(std::int64_t recordCapacity, Sealing sealing);

// A Hide judged before it is done.
struct HideAssessment {
    std::int64_t messageLength = 0;
    bool messageCut = false;          // the message is longer still: it was not read to its end
    std::int64_t recordLength = 0;    // the message record's real length
    std::int64_t capacity = 0;        // the longest message record the carrier takes
    std::int64_t longestMessage = 0;  // the longest message that fits, so sealed or not
    // Whether both records fit the carrier by the size rule. A Hide that does
    // not fit is refused by the size rule with its own message; it is not
    // judged for damage.
    bool fits = false;
    // Whether it could visibly change the picture, and why, with what the
    // picture takes safely: the text the question and the refusal share.
    bool couldVisiblyChange = false;
    std::string warning;
    // Whether the picture is one the converter vouches for, so that Convert
    // can be offered before it is tried.
    bool convertible = false;
    // An earlier message record the carrier holds (0: none), and how far it
    // can be wiped: its bytes past the new record and below wipeEnd get
    // random bits. When some of it would stay readable, wipeShortfall says
    // so, for the user to hear before being asked anything.
    std::int64_t oldRecordLength = 0;
    std::int64_t wipeEnd = 0;
    std::string wipeShortfall;
};

// Judges a Hide of a message of `messageLength` bytes into `carrier`.
HideAssessment AssessHide(std::span<const std::uint8_t> carrier, std::int64_t messageLength,
                          Sealing sealing);

// The refusal of a message too long for the carrier, the same in both front
// ends: "Image is very small." and then both sizes, e.g. "The message has
// 2,000 bytes; this picture takes at most 1,032."
std::string MessageTooLong(const HideAssessment& hide);

// The warning that `readable` bytes of an earlier message record of
// `oldRecordLength` bytes stay in the picture after a Hide.
std::string WipeShortfall(std::int64_t oldRecordLength, std::int64_t readable);

// The depth of the copy a Convert hides in (ConvertBitmap's), known before
// it is made: 24 bits, or 32 where the picture shows transparency, which the
// copy keeps; 24 for a picture that cannot be converted, which Convert then
// says.
int ConvertedBits(std::span<const std::uint8_t> carrier);
// The damage question's offer of Convert, naming the copy's depth.
std::string ConvertOffer(int bits);
// What a Hide into a picture that is not a bitmap is told first, the same in
// both front ends, e.g. "This is a JPEG picture (6000x4000), not a bitmap: ...".
std::string PictureIsNoBitmap(std::string_view kind, std::int64_t width, std::int64_t height);
// What a Hide into a picture that is not a bitmap and cannot be converted
// either is told, the same in both front ends, e.g. for `kind` "HEIC" and
// `reason` "Veilnote does not read HEIC pictures".
std::string UnconvertiblePicture(std::string_view kind, std::string_view reason);

// The texts of the two records: the stored password, and the message or
// its sealed text; and how far an earlier message record is wiped beyond
// the new one (a HideAssessment's wipeEnd, for the carrier they go into).
struct HideRecords {
    std::string stored;
    std::string message;
    std::int64_t wipeEnd = 0;

    std::int64_t MessageRecordLength() const;
    // The bytes of the carrier writing them may change, the wiped ones included.
    ByteSpan Span() const;
};

// An unsealed Hide: the password's stored form and the message as it is.
HideRecords PlainRecords(std::string_view message, std::string_view password);
// A sealed Hide: the sealed carriers' stored form and the message sealed
// under the whole password. Throws std::bad_alloc when the key derivation
// cannot get its memory.
HideRecords SealedRecords(std::string_view message, std::string_view password,
                          SealLimits limits = WrittenSealLimits());

// Whether both records fit a carrier of `carrierLength` bytes; when not,
// reports why as writing them would ("Image is very small.").
bool RecordsFit(std::int32_t carrierLength, const HideRecords& records, Reporter& reporter);

// Writes both records into `carrier`, which must hold Span(), and wipes what
// is left of an earlier message record up to wipeEnd. Checks both records
// before writing either; false after a report, with nothing changed.
bool WriteRecords(const CarrierWindow& carrier, const HideRecords& records, Reporter& reporter);
