#include <array>

#include "CarrierFile.h"
#include "CommandSupport.h"
#include "Errors.h"
#include "SealedCarrier.h"
#include "StreamReporter.h"
#include "TerminalText.h"

namespace {

// A terminal gets the message shown safely, ending in one line end so that
// the prompt after it starts on a line of its own; a pipe or a file gets its
// exact bytes.
void WriteMessage(std::string_view message, Console& console) {
    if (console.outIsTerminal) {
        console.out << TerminalSafe(message) << (message.ends_with('\n') ? "" : "\n");
    } else {
        console.out.write(message.data(), static_cast<std::streamsize>(message.size()));
    }
    if (!console.out.flush()) {
        throw Refusal("cannot write the message to standard output");
    }
}

}  // namespace

int RunReveal(const ParsedArguments& parsed, Console& console) {
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
    // The message record is read before the password only to tell whether the
    // carrier is sealed: a sealed one is opened by the whole password, not by
    // its stored form. Nothing of it is shown before the password is right.
    const CurtainedRecord record =
        FetchCurtainedRecord(carrier.Length(), kMessageRecordStart, carrier.Fetch(), silent);
    const SealReading sealing = ReadSealing(stored, record.text);
    if (sealing.kind == SealReading::Kind::kBroken) {
        throw Refusal(kNoCurtainedData);
    }
    if (sealing.kind == SealReading::Kind::kSealed) {
        const SecretText message =
            OpenWithPassword(PasswordInputsFor(parsed, console), *sealing.box, console.err);
        WriteMessage(message.View(), console);
        return static_cast<int>(ExitCode::kSuccess);
    }
    VerifyPassword(PasswordInputsFor(parsed, console), stored, console.err);

    // A message of white space only reads back empty from a whole record.
    if (record.malformed || (record.text.empty() && !record.deciphered)) {
        throw Refusal(kNoCurtainedData);
    }
    WriteMessage(record.text, console);
    return static_cast<int>(ExitCode::kSuccess);
}
