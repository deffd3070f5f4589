#include <array>
#include <istream>
#include <vector>

#include "Arguments.h"
#include "BitmapConverter.h"
#include "CarrierRecords.h"
#include "CommandSupport.h"
#include "DamageGuard.h"
#include "Errors.h"
#include "FileIO.h"
#include "PasswordSource.h"
#include "StreamReporter.h"

namespace {

constexpr const char* kNoTextToHide = "There is no text to curtain";
constexpr const char* kOperationAborted = "Operation aborted ..     ";
constexpr std::array<std::string_view, 2> kOptions{"--text-file", "--password-file"};
constexpr std::array<std::string_view, 2> kFlags{"--force", "--convert"};

// A message longer than any carrier takes is refused later; one byte more
// than that is all the refusal needs.
constexpr auto kMessageKeep = static_cast<std::size_t>(kMaxMessageLength + 1);

// The message on standard input, read only as far as it matters.
std::string ReadMessage(std::istream& in) {
    MessageCollector message(kMessageKeep);
    std::array<char, 64 * 1024> chunk{};
    while (in.read(chunk.data(), chunk.size()) || in.gcount() > 0) {
        if (!message.Add({chunk.data(), static_cast<std::size_t>(in.gcount())})) {
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
// asks for it to go into a 24-bit copy instead. Messages too long for the
// carrier are left to the size rule, which names the sizes.
void GuardAgainstDamage(std::vector<std::uint8_t>& carrier, const std::string& message,
                        bool convert) {
    const std::int64_t recordLength = PaddedLength(std::ssize(message));
    if (recordLength > MessageCapacity(std::ssize(carrier))) {
        return;
    }
    const CDamageGuard guard(carrier);
    if (!guard.CouldVisiblyChange(recordLength)) {
        return;
    }
    if (!convert) {
        throw Refusal(guard.Warning(recordLength) +
                      " Use --force to hide anyway, or --convert to hide in a 24-bit copy.");
    }
    ConvertedBitmap copy = ConvertTo24Bit(carrier);
    if (copy.file.empty()) {
        throw Refusal(guard.Warning(recordLength) + " It cannot be converted: " + copy.failure +
                      ".");
    }
    carrier = std::move(copy.file);
}

// Writes the password record, then the message record; throws after a
// report. When they do not fit, says how much the image takes.
void CurtainRecords(std::vector<std::uint8_t>& carrier, const std::string& stored,
                    const std::string& message, Reporter& reporter, std::ostream& err) {
    const std::int32_t length = CarrierLength(carrier);
    if (!RecordsFit(length, stored, message, reporter)) {
        err << "This image takes messages of up to " << MessageCapacity(length)
            << " bytes; the message has " << message.size() << " bytes.\n";
        throw Refusal(kOperationAborted);
    }
    if (CurtainString(carrier.data(), length, kPasswordRecordStart, stored, reporter) != 1 ||
        CurtainString(carrier.data(), length, kMessageRecordStart, message, reporter) != 1) {
        throw Refusal(kOperationAborted);
    }
}

}  // namespace

int RunHide(std::span<const std::string> args, Console& console) {
    const ParsedArguments parsed = ParseArguments(args, kOptions, kFlags);
    if (parsed.help) {
        console.out << CommandUsage("hide");
        return static_cast<int>(ExitCode::kSuccess);
    }
    RequireOperands(parsed, 2);
    if (parsed.flags.size() > 1) {
        throw UsageError("--force and --convert exclude each other");
    }
    const std::string& imagePath = parsed.operands[0];
    const std::string& outputPath = parsed.operands[1];

    std::vector<std::uint8_t> carrier = ReadWholeFile(imagePath, kCarrierLimit);
    const auto textFile = parsed.options.find("--text-file");
    const std::string message = textFile != parsed.options.end()
                                    ? ReadMessageFile(textFile->second, kMessageKeep)
                                    : ReadMessage(console.in);
    if (message.empty()) {
        throw Refusal(kNoTextToHide);
    }

    if (!parsed.flags.contains("--force")) {
        GuardAgainstDamage(carrier, message, parsed.flags.contains("--convert"));
    }

    const std::string stored =
        ChooseStoredPassword(PasswordInputsFor(parsed, console), console.err);

    StreamReporter reporter(console.err);
    CurtainRecords(carrier, stored, message, reporter, console.err);
    WriteFileAtomically(outputPath, carrier);
    return static_cast<int>(ExitCode::kSuccess);
}
