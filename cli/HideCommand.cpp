#include <array>
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
#include "StreamReporter.h"

namespace {

// A message longer than any carrier takes is refused later; one byte more
// than that is all the refusal needs.
constexpr auto kMessageKeep = static_cast<std::size_t>(kMaxMessageLength + 1);

// The message on standard input, read only as far as it matters. Someone
// typing it is told how to end it; the chunk it passes through is wiped.
std::string ReadMessage(const Console& console) {
    if (console.inIsTerminal) {
        console.err << "Type the message, then press Ctrl-D on a line of its own.\n";
    }
    MessageCollector message(kMessageKeep);
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

// Refuses a Hide that could visibly change the picture, unless asked to
// hide in a 24-bit copy instead, which then becomes the carrier. The guard
// reads only the parts of the image it judges: headers, palette, and for
// some kinds the pixels the Hide reaches.
enum class OnDamage { kRefuse, kConvert };

void GuardAgainstDamage(CarrierFile& carrier, std::int64_t messageLength, Sealing sealing,
                        OnDamage onDamage) {
    const HideAssessment hide = AssessHide(carrier.Bytes(), messageLength, sealing);
    if (!hide.couldVisiblyChange) {
        return;
    }
    if (onDamage == OnDamage::kRefuse) {
        throw Refusal(hide.warning +
                      " Use --force to hide anyway, or --convert to hide in a 24-bit copy.");
    }
    ConvertedBitmap copy = ConvertCarrier(carrier.Bytes());
    if (copy.file.empty()) {
        throw Refusal(hide.warning + " It cannot be converted: " + copy.failure + ".");
    }
    carrier.Replace(std::move(copy.file));
}

// Writes OUTPUT as a copy of the carrier with both records in it. The copy
// is the kernel's (a clone where the file system shares data); then only the
// bytes the records occupy are read back from it, changed and written again.
// Throws after a report, saying how much the image takes when the records
// do not fit; OUTPUT is then as it was.
void WriteWithRecords(const CarrierFile& carrier, const std::string& outputPath,
                      const HideRecords& records, Reporter& reporter, std::ostream& err) {
    const std::int32_t length = carrier.Length();
    if (!RecordsFit(length, records, reporter)) {
        err << "This image takes messages of up to " << MessageCapacity(length)
            << " bytes; the message has " << records.message.size() << " bytes.\n";
        throw Refusal(kOperationAborted);
    }
    const ByteSpan span = records.Span();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(span.end - span.first));
    const CarrierWindow window{bytes, span.first, length};

    AtomicFile file;
    std::string reason;
    if (!file.Open(outputPath, reason) || !carrier.CopyTo(file, reason) ||
        !file.ReadBack(static_cast<std::uint64_t>(span.first), bytes, reason)) {
        throw Refusal("cannot write " + outputPath + ": " + reason);
    }
    if (!WriteRecords(window, records, reporter)) {
        throw Refusal(kOperationAborted);
    }
    if (!file.Patch(static_cast<std::uint64_t>(span.first), bytes, reason) ||
        !file.Commit(reason)) {
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
    const auto textFile = parsed.options.find("--text-file");
    const SecretText message(textFile != parsed.options.end()
                                 ? ReadMessageFile(textFile->second, kMessageKeep)
                                 : ReadMessage(console));
    if (message.Size() == 0) {
        throw Refusal(kEmptyMessage);
    }

    // A sealed message takes a longer record than its plain text: the guard
    // judges the record that will really be written.
    const Sealing sealing = parsed.flags.contains("--seal") ? Sealing::kSealed : Sealing::kPlain;
    if (!parsed.flags.contains("--force")) {
        GuardAgainstDamage(
            carrier, static_cast<std::int64_t>(message.Size()), sealing,
            parsed.flags.contains("--convert") ? OnDamage::kConvert : OnDamage::kRefuse);
    }

    StreamReporter reporter(console.err);
    const PasswordInputs inputs = PasswordInputsFor(parsed, console);
    const HideRecords records =
        sealing == Sealing::kSealed
            ? SealedRecords(message.View(), ChoosePassword(inputs, console.err).View())
            : HideRecords{ChooseStoredPassword(inputs, console.err), std::string(message.View())};
    WriteWithRecords(carrier, outputPath, records, reporter, console.err);
    return static_cast<int>(ExitCode::kSuccess);
}
