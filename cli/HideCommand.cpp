#include <array>
#include <istream>
#include <vector>

#include "Arguments.h"
#include "AtomicFile.h"
#include "BitmapConverter.h"
#include "CarrierFile.h"
#include "CarrierRecords.h"
#include "CommandSupport.h"
#include "DamageGuard.h"
#include "Errors.h"
#include "FileIO.h"
#include "PasswordSource.h"
#include "SealedMessage.h"
#include "StreamReporter.h"

namespace {

constexpr const char* kNoTextToHide = "There is no text to curtain";
constexpr const char* kOperationAborted = "Operation aborted ..     ";

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

// Whether both records fit the carrier; reports why not, as writing them would.
bool RecordsFit(std::int32_t length, const std::string& stored, const std::string& message,
                Reporter& reporter) {
    return CanCurtainString(length, kPasswordRecordStart, stored, reporter) == 1 &&
           CanCurtainString(length, kMessageRecordStart, message, reporter) == 1;
}

// Refuses a Hide that could visibly change the picture, unless `convert`
// asks for it to go into a 24-bit copy instead, which then becomes the
// carrier. Messages too long for the carrier are left to the size rule,
// which names the sizes. The guard reads only the parts of the image it
// judges: headers, palette, and for some kinds the pixels the Hide reaches.
void GuardAgainstDamage(CarrierFile& carrier, std::int64_t recordLength, bool convert) {
    if (recordLength > MessageCapacity(carrier.Length())) {
        return;
    }
    const CDamageGuard guard(carrier.Bytes());
    if (!guard.CouldVisiblyChange(recordLength)) {
        return;
    }
    if (!convert) {
        throw Refusal(guard.Warning(recordLength) +
                      " Use --force to hide anyway, or --convert to hide in a 24-bit copy.");
    }
    ConvertedBitmap copy = ConvertTo24Bit(carrier.Bytes());
    if (copy.file.empty()) {
        throw Refusal(guard.Warning(recordLength) + " It cannot be converted: " + copy.failure +
                      ".");
    }
    carrier.Replace(std::move(copy.file));
}

// Writes OUTPUT as a copy of the carrier with both records in it. The copy
// is the kernel's (a clone where the file system shares data); then only the
// bytes the records occupy are read back from it, changed and written again.
// Throws after a report, saying how much the image takes when the records
// do not fit; OUTPUT is then as it was.
void WriteWithRecords(const CarrierFile& carrier, const std::string& outputPath,
                      const std::string& stored, const std::string& message, Reporter& reporter,
                      std::ostream& err) {
    const std::int32_t length = carrier.Length();
    if (!RecordsFit(length, stored, message, reporter)) {
        err << "This image takes messages of up to " << MessageCapacity(length)
            << " bytes; the message has " << message.size() << " bytes.\n";
        throw Refusal(kOperationAborted);
    }
    const ByteSpan span = HideSpan(PaddedLength(std::ssize(message)));
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(span.end - span.first));
    const CarrierWindow window{bytes, span.first, length};

    AtomicFile file;
    std::string reason;
    if (!file.Open(outputPath, reason) || !carrier.CopyTo(file, reason) ||
        !file.ReadBack(static_cast<std::uint64_t>(span.first), bytes, reason)) {
        throw Refusal("cannot write " + outputPath + ": " + reason);
    }
    if (CurtainString(window, kPasswordRecordStart, stored, reporter) != 1 ||
        CurtainString(window, kMessageRecordStart, message, reporter) != 1) {
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
        throw Refusal(kNoTextToHide);
    }

    // A sealed message takes a longer record than its plain text: the guard
    // judges the record that will really be written.
    const bool seal = parsed.flags.contains("--seal");
    const std::int64_t recordLength =
        seal ? static_cast<std::int64_t>(SealedRecordLength(message.Size()))
             : PaddedLength(static_cast<std::int64_t>(message.Size()));
    if (!parsed.flags.contains("--force")) {
        GuardAgainstDamage(carrier, recordLength, parsed.flags.contains("--convert"));
    }

    StreamReporter reporter(console.err);
    if (seal) {
        const SecretText password = ChoosePassword(PasswordInputsFor(parsed, console), console.err);
        WriteWithRecords(carrier, outputPath, SealedStoredForm(),
                         SealMessage(message.View(), password.View()), reporter, console.err);
    } else {
        const std::string stored =
            ChooseStoredPassword(PasswordInputsFor(parsed, console), console.err);
        WriteWithRecords(carrier, outputPath, stored, std::string(message.View()), reporter,
                         console.err);
    }
    return static_cast<int>(ExitCode::kSuccess);
}
