#include <array>

#include "Capacity.h"
#include "CommandSupport.h"
#include "Errors.h"
#include "SealedCarrier.h"
#include "StreamReporter.h"

namespace {

constexpr std::array<std::string_view, 1> kOptions{"--password-file"};

// Whether the message record is whole, for a message that read back empty
// (one of white space only): its length word is positive and it ends
// inside the carrier.
bool MessageRecordIsWhole(const std::vector<std::uint8_t>& carrier) {
    SilentReporter silent;
    const std::int32_t length =
        ReadCurtainLength(carrier.data(), CarrierLength(carrier), kMessageRecordStart - 32, silent);
    const std::int64_t end =
        kMessageRecordStart + kCarrierBytesPerRecordByte * std::int64_t{length} + 56;
    return length > 0 && end <= static_cast<std::int64_t>(carrier.size());
}

// Writes the message as it is, adding a line end only on a terminal.
void WriteMessage(std::string_view message, Console& console) {
    console.out.write(message.data(), static_cast<std::streamsize>(message.size()));
    if (console.outIsTerminal) {
        console.out << '\n';
    }
    if (!console.out.flush()) {
        throw Refusal("cannot write the message to standard output");
    }
}

}  // namespace

int RunReveal(std::span<const std::string> args, Console& console) {
    const ParsedArguments parsed = ParseArguments(args, kOptions);
    if (parsed.help) {
        console.out << CommandUsage("reveal");
        return static_cast<int>(ExitCode::kSuccess);
    }
    RequireOperands(parsed, 1);
    const std::vector<std::uint8_t> carrier = ReadWholeFile(parsed.operands[0], kCarrierLimit);

    StreamReporter reporter(console.err);
    const std::string stored =
        ReadCurtainedString(carrier.data(), CarrierLength(carrier), kPasswordRecordStart, reporter);
    if (stored.empty()) {
        throw Refusal(reporter.Count() > 0 ? "" : kNoHiddenMessage);
    }
    // A sealed carrier is opened by the whole password, not its stored form.
    const SealReading sealing = ReadSealing(carrier.data(), CarrierLength(carrier));
    if (sealing.kind == SealReading::Kind::kBroken) {
        reporter.Report(kNoCurtainedData);
        throw Refusal("");
    }
    if (sealing.kind == SealReading::Kind::kSealed) {
        const SecretText message =
            OpenWithPassword(PasswordInputsFor(parsed, console), *sealing.box, console.err);
        WriteMessage(message.View(), console);
        return static_cast<int>(ExitCode::kSuccess);
    }
    VerifyPassword(PasswordInputsFor(parsed, console), stored, console.err);

    const int reportsBefore = reporter.Count();
    const CurtainedRecord record =
        ReadCurtainedRecord(carrier.data(), CarrierLength(carrier), kMessageRecordStart, reporter);
    if (record.malformed || reporter.Count() > reportsBefore) {
        throw Refusal("");
    }
    if (record.text.empty() && !MessageRecordIsWhole(carrier)) {
        throw Refusal(kNoHiddenMessage);
    }
    WriteMessage(record.text, console);
    return static_cast<int>(ExitCode::kSuccess);
}
