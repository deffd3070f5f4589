#include <array>

#include "CommandSupport.h"
#include "Errors.h"
#include "StreamReporter.h"
#include "TerminalText.h"

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

    // Whether the format reports a carrier without records depends on its
    // random low bits; the user always gets its one message, once.
    SilentReporter silent;
    const std::string stored =
        ReadCurtainedString(carrier.data(), CarrierLength(carrier), kPasswordRecordStart, silent);
    if (stored.empty()) {
        throw Refusal(kNoCurtainedData);
    }
    VerifyPassword(PasswordInputsFor(parsed, console), stored, console.err);

    const CurtainedRecord record =
        ReadCurtainedRecord(carrier.data(), CarrierLength(carrier), kMessageRecordStart, silent);
    if (record.malformed || (record.text.empty() && !MessageRecordIsWhole(carrier))) {
        throw Refusal(kNoCurtainedData);
    }
    // A terminal gets the message shown safely; a pipe or a file its exact bytes.
    if (console.outIsTerminal) {
        console.out << TerminalSafe(record.text) << '\n';
    } else {
        console.out.write(record.text.data(), static_cast<std::streamsize>(record.text.size()));
    }
    if (!console.out.flush()) {
        throw Refusal("cannot write the message to standard output");
    }
    return static_cast<int>(ExitCode::kSuccess);
}
