#include <array>

#include "CarrierFile.h"
#include "CommandSupport.h"
#include "Errors.h"
#include "Revealing.h"
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
    const CarrierReading reading(carrier.Length(), carrier.Fetch());
    switch (reading.GetKind()) {
        case CarrierReading::Kind::kNoRecords:
            throw Refusal(kNoCurtainedData);
        case CarrierReading::Kind::kSealed:
            WriteMessage(
                OpenWithPassword(PasswordInputsFor(parsed, console), reading, console.err).View(),
                console);
            return static_cast<int>(ExitCode::kSuccess);
        case CarrierReading::Kind::kPlain:
            break;
    }
    VerifyPassword(PasswordInputsFor(parsed, console), reading, console.err);
    // Read only now, with the password right. A message of white space only
    // reads back empty from a whole record.
    const std::optional<std::string> message = reading.ReadMessage();
    if (!message) {
        throw Refusal(kNoCurtainedData);
    }
    WriteMessage(*message, console);
    return static_cast<int>(ExitCode::kSuccess);
}
