#include <algorithm>
#include <array>
#include <functional>
#include <istream>
#include <vector>

#include "Arguments.h"
#include "AtomicFile.h"
#include "CarrierFile.h"
#include "CommandSupport.h"
#include "Errors.h"
#include "FileIO.h"
#include "Hiding.h"
#include "PasswordSource.h"
#include "PictureModule.h"
#include "StreamReporter.h"

namespace {

// The message on standard input, read only as far as it matters. Someone
// typing it is told how to end it; the chunk it passes through is wiped.
ReadMessage ReadMessageInput(const Console& console, std::size_t keep) {
    if (console.inIsTerminal) {
        console.err << "Type the message, then press Ctrl-D on a line of its own.\n";
    }
    MessageCollector message(keep);
    SecretText chunk(std::size_t{64 * 1024});
    const auto buffer = reinterpret_cast<char*>(chunk.Data());
    while (console.in.read(buffer, static_cast<std::streamsize>(chunk.Size())) ||
           console.in.gcount() > 0) {
        if (!message.Add({buffer, static_cast<std::size_t>(console.in.gcount())})) {
            break;
        }
    }
    return message.Take();
}

// How many message bytes are worth reading: more than the longest that could
// fit is all a refusal needs, though a mebibyte more costs little and lets
// it name a short message's length exactly.
std::size_t MessageKeep(const CarrierFile& carrier, Sealing sealing, bool convert) {
    constexpr std::int64_t kAlwaysRead = 1024 * 1024;
    // A converted copy may take more than the picture itself.
    const std::int64_t longest =
        convert ? kMaxMessageLength : LongestMessage(carrier.Length(), sealing);
    return static_cast<std::size_t>(std::max(longest + 1, kAlwaysRead));
}

// Refuses a message that holds a zero byte unless it is sealed: an unsealed
// message is text, and would end at its first zero byte.
void RefuseZeroBytes(std::string_view message, Sealing sealing) {
    const std::size_t zero = message.find('\0');
    if (sealing == Sealing::kPlain && zero != std::string_view::npos) {
        throw Refusal("The message holds a zero byte (at offset " + std::to_string(zero) +
                      "), so it is not text: unsealed, it would be cut there. Use --seal to "
                      "hide any bytes exactly.");
    }
}

// Judges the Hide before anything is asked. A picture that is not a bitmap
// is refused by its kind unless converted or forced. A message that does not
// fit is refused with both sizes; one that could visibly change the picture is
// refused unless forced, or, when asked to convert, hidden in a re-encoded
// copy instead. That copy is written straight into OUTPUT's temporary file,
// a piece at a time, and becomes the carrier judged and written from then
// on. The guard reads only the parts of the image it judges: headers,
// palette, and for some kinds the pixels the Hide reaches. An earlier
// message that cannot be wiped whole is told of here too, before the
// password prompt.
enum class OnDamage { kRefuse, kForce, kConvert };

struct JudgedHide {
    bool converted = false;    // OUTPUT's temporary file holds the converted carrier
    std::int64_t wipeEnd = 0;  // how far an earlier message record is wiped
};

JudgedHide AssessBeforeAsking(CarrierFile& carrier, const ReadMessage& message, Sealing sealing,
                              OnDamage onDamage, AtomicFile& output, const std::string& outputPath,
                              std::ostream& err) {
    if (onDamage == OnDamage::kRefuse && IsPictureFile(carrier.Bytes())) {
        // Its own bytes are no carrier, whatever their length: the copy is.
        const PictureHeader picture = ProbePictureFile(carrier.Bytes());
        if (!picture.failure.empty()) {
            throw Refusal(UnconvertiblePicture(picture.kind, picture.failure) +
                          " Use --force to hide anyway.");
        }
        throw Refusal(PictureIsNoBitmap(picture.kind, picture.width, picture.height) +
                      " Use --convert to hide in a bitmap copy that looks the same, or --force "
                      "to hide anyway.");
    }
    HideAssessment hide = AssessHide(carrier.Bytes(), message.length, sealing);
    bool converted = false;
    // `write` makes the copy into the sink it is given and says how long it
    // is, or -1 when it could not.
    const auto hideInCopy = [&](const std::function<std::int64_t(const ByteSink&)>& write) {
        std::string reason;
        const ByteSink fill = [&](std::span<const std::uint8_t> piece) {
            return output.Fill(piece, reason);
        };
        std::int64_t length = -1;
        if (!output.Open(outputPath, reason) || (length = write(fill)) < 0) {
            throw Refusal("cannot write " + outputPath + ": " + reason);
        }
        carrier.TakeFilled(output, static_cast<std::int32_t>(length));
        hide = AssessHide(carrier.Bytes(), message.length, sealing);
        converted = true;
    };
    if (onDamage == OnDamage::kConvert && IsPictureFile(carrier.Bytes())) {
        // A picture that is not a bitmap is decoded into its bitmap carrier.
        hideInCopy([&](const ByteSink& sink) {
            PictureCarrier made;
            return WritePictureCarrier(carrier.Bytes(), sink, made) ? made.length : -1;
        });
    } else if (onDamage == OnDamage::kConvert && (!hide.fits || hide.couldVisiblyChange)) {
        const CBitmapConversion conversion(carrier.Bytes());
        if (conversion.Failure().empty()) {
            hideInCopy([&](const ByteSink& sink) {
                return conversion.Write(sink) ? conversion.OutputLength() : std::int64_t{-1};
            });
        } else if (hide.couldVisiblyChange) {
            throw Refusal(hide.warning + " It cannot be converted: " + conversion.Failure() + ".");
        }
    }
    hide.messageCut = message.cut;
    if (!hide.fits) {
        throw Refusal(MessageTooLong(hide));
    }
    if (hide.couldVisiblyChange && onDamage == OnDamage::kRefuse) {
        throw Refusal(hide.warning + " Use --force to hide anyway, or --convert to hide in a " +
                      std::to_string(ConvertedBits(carrier.Bytes())) + "-bit copy.");
    }
    if (!hide.wipeShortfall.empty()) {
        err << hide.wipeShortfall << '\n';
    }
    return {converted, hide.wipeEnd};
}

// Writes OUTPUT as a copy of the carrier with both records in it. The copy
// is the kernel's (a clone where the file system shares data), unless
// `output` already holds a converted carrier; then only the bytes the
// records occupy are read back from it, changed and written again. Throws
// after a report; OUTPUT is then as it was.
void WriteWithRecords(const CarrierFile& carrier, AtomicFile& output, bool filled,
                      const std::string& outputPath, const HideRecords& records,
                      Reporter& reporter) {
    const std::int32_t length = carrier.Length();
    const ByteSpan span = records.Span();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(span.end - span.first));
    const CarrierWindow window{bytes, span.first, length};

    std::string reason;
    if ((!filled && (!output.Open(outputPath, reason) || !carrier.CopyTo(output, reason))) ||
        !output.ReadBack(static_cast<std::uint64_t>(span.first), bytes, reason)) {
        throw Refusal("cannot write " + outputPath + ": " + reason);
    }
    if (!WriteRecords(window, records, reporter)) {
        throw Refusal(kOperationAborted);
    }
    if (!output.Patch(static_cast<std::uint64_t>(span.first), bytes, reason) ||
        !output.Commit(reason)) {
        throw Refusal("cannot write " + outputPath + ": " + reason);
    }
}

}  // namespace

int RunHide(const ParsedArguments& parsed, Console& console) {
    if (parsed.flags.contains("--force") && parsed.flags.contains("--convert")) {
        throw UsageError("--force and --convert exclude each other");
    }
    const std::string& imagePath = parsed.operands[0];
    const std::string& outputPath = parsed.operands[1];

    CarrierFile carrier(imagePath, kCarrierLimit);
    const Sealing sealing = parsed.flags.contains("--seal") ? Sealing::kSealed : Sealing::kPlain;
    const OnDamage onDamage = parsed.flags.contains("--force")     ? OnDamage::kForce
                              : parsed.flags.contains("--convert") ? OnDamage::kConvert
                                                                   : OnDamage::kRefuse;
    const std::size_t keep = MessageKeep(carrier, sealing, onDamage == OnDamage::kConvert);
    const auto textFile = parsed.options.find("--text-file");
    const ReadMessage message = textFile != parsed.options.end()
                                    ? ReadMessageFile(textFile->second, keep)
                                    : ReadMessageInput(console, keep);
    if (message.length == 0) {
        throw Refusal(kEmptyMessage);
    }
    RefuseZeroBytes(message.bytes.View(), sealing);
    AtomicFile output;
    const JudgedHide judged =
        AssessBeforeAsking(carrier, message, sealing, onDamage, output, outputPath, console.err);

    StreamReporter reporter(console.err);
    const PasswordInputs inputs = PasswordInputsFor(parsed, console);
    HideRecords records =
        sealing == Sealing::kSealed
            ? SealedRecords(message.bytes.View(), ChoosePassword(inputs, console.err).View())
            : HideRecords{ChooseStoredPassword(inputs, console.err),
                          std::string(message.bytes.View())};
    records.wipeEnd = judged.wipeEnd;
    WriteWithRecords(carrier, output, judged.converted, outputPath, records, reporter);
    return static_cast<int>(ExitCode::kSuccess);
}
