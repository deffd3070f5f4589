#include <array>

#include "CommandSupport.h"
#include "Errors.h"
#include "StreamReporter.h"

namespace {

constexpr std::array<std::string_view, 1> kOptions{"--password-file"};

// Whether the message record is whole, for a message that read back empty
// (one of white space only): its length word is positive and it ends
// inside the carrier.
bool MessageRecordIsWhole(const std::vector<std::uint8_t>& carrier) {
    SilentReporter silent;
    const std::int32_t length = ReadCurtainLength(carrier.data(), CarrierLength(carrier),
                                                  kMessageRecordStart - kLengthWordBits, silent);
    return length > 0 &&
           RecordEnd(kMessageRecordStart, length) <= static_cast<std::int64_t>(carrier.size());
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
    console.out.write(record.text.data(), static_cast<std::streamsize>(record.text.size()));
    if (console.outIsTerminal) {
        console.out << '\n';
    }
    if (!console.out.flush()) {
        throw Refusal("cannot write the message to standard output");
    }
    return static_cast<int>(ExitCode::kSuccess);
}
