#include <array>

#include "CarrierFile.h"
#include "CommandSupport.h"
#include "Errors.h"
#include "StreamReporter.h"
#include "TerminalText.h"

namespace {

constexpr std::array<std::string_view, 1> kOptions{"--password-file"};

}  // namespace

int RunReveal(std::span<const std::string> args, Console& console) {
    const ParsedArguments parsed = ParseArguments(args, kOptions);
    if (parsed.help) {
        console.out << CommandUsage("reveal");
        return static_cast<int>(ExitCode::kSuccess);
    }
    RequireOperands(parsed, 1);
    // Only the records are read, so the cost is the message's, not the image's.
    const CarrierFile carrier(parsed.operands[0], kCarrierLimit);

    // Whether the format reports a carrier without records depends on its
    // random low bits; the user always gets its one message, once.
    SilentReporter silent;
    const std::string stored =
        FetchCurtainedRecord(carrier.Length(), kPasswordRecordStart, carrier.Fetch(), silent).text;
    if (stored.empty()) {
        throw Refusal(kNoCurtainedData);
    }
    VerifyPassword(PasswordInputsFor(parsed, console), stored, console.err);

    const CurtainedRecord record =
        FetchCurtainedRecord(carrier.Length(), kMessageRecordStart, carrier.Fetch(), silent);
    // A message of white space only reads back empty from a whole record.
    if (record.malformed || (record.text.empty() && !record.deciphered)) {
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
