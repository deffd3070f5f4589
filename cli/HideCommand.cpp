#include <array>
#include <istream>
#include <vector>

#include "Arguments.h"
#include "CarrierRecords.h"
#include "CommandSupport.h"
#include "Errors.h"
#include "FileIO.h"
#include "PasswordSource.h"
#include "StreamReporter.h"

namespace {

constexpr const char* kNoTextToHide = "There is no text to curtain";
constexpr const char* kOperationAborted = "Operation aborted ..     ";
constexpr std::array<std::string_view, 2> kOptions{"--text-file", "--password-file"};

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

// Writes the password record, then the message record; throws after a report.
void CurtainRecords(std::vector<std::uint8_t>& carrier, const std::string& stored,
                    const std::string& message, Reporter& reporter) {
    const std::int32_t length = CarrierLength(carrier);
    if (!RecordsFit(length, stored, message, reporter) ||
        CurtainString(carrier.data(), length, kPasswordRecordStart, stored, reporter) != 1 ||
        CurtainString(carrier.data(), length, kMessageRecordStart, message, reporter) != 1) {
        throw Refusal(kOperationAborted);
    }
}

}  // namespace

int RunHide(std::span<const std::string> args, Console& console) {
    const ParsedArguments parsed = ParseArguments(args, kOptions);
    if (parsed.help) {
        console.out << CommandUsage("hide");
        return static_cast<int>(ExitCode::kSuccess);
    }
    RequireOperands(parsed, 2);
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

    const std::string stored =
        ChooseStoredPassword(PasswordInputsFor(parsed, console), console.err);

    StreamReporter reporter(console.err);
    CurtainRecords(carrier, stored, message, reporter);
    WriteFileAtomically(outputPath, carrier);
    return static_cast<int>(ExitCode::kSuccess);
}
