#include "PasswordSource.h"

#include "Errors.h"
#include "FileIO.h"
#include "PasswordRules.h"

namespace {

constexpr SizeLimit kPasswordFileLimit{1024 * 1024, "1 MiB"};
constexpr const char* kPasswordPrompt = "Password: ";
constexpr const char* kConfirmPrompt = "Confirm Pw: ";

// The password given without asking, if any.
std::optional<std::string> GivenPassword(const PasswordInputs& inputs) {
    if (inputs.file) {
        const std::vector<std::uint8_t> bytes = ReadWholeFile(*inputs.file, kPasswordFileLimit);
        return FirstLine(std::string(bytes.begin(), bytes.end()));
    }
    return inputs.environment;
}

std::string Ask(PasswordPrompt* prompt, const std::string& text) {
    if (prompt == nullptr) {
        throw Refusal("no password given: use --password-file PWFILE or set VEILNOTE_PASSWORD");
    }
    std::optional<std::string> answer = prompt->Ask(text);
    if (!answer) {
        throw Refusal("no password entered");
    }
    return *std::move(answer);
}

// Runs `attempt` until it returns no complaint; complaints of all but the
// last try are printed, the last one is thrown.
template <typename Attempt>
void Retry(int tries, std::ostream& err, Attempt attempt) {
    for (int tried = 1;; ++tried) {
        const std::optional<std::string> complaint = attempt();
        if (!complaint) {
            return;
        }
        if (tried >= tries) {
            throw Refusal(*complaint);
        }
        err << *complaint << '\n';
    }
}

}  // namespace

std::string FirstLine(std::string_view text) {
    const std::string_view line = text.substr(0, text.find('\n'));
    if (line.size() < text.size() && line.ends_with('\r')) {
        return std::string(line.substr(0, line.size() - 1));
    }
    return std::string(line);
}

std::string ChooseStoredPassword(const PasswordInputs& inputs, std::ostream& err) {
    return StoredForm(std::string(ChoosePassword(inputs, err).View()));
}

SecretText ChoosePassword(const PasswordInputs& inputs, std::ostream& err) {
    if (std::optional<std::string> given = GivenPassword(inputs)) {
        SecretText password(*std::move(given));
        if (const auto complaint =
                CheckChosenPassword(std::string(password.View()), std::string(password.View()))) {
            throw Refusal(*complaint);
        }
        return password;
    }
    SecretText chosen;
    Retry(kPromptAttempts, err, [&]() -> std::optional<std::string> {
        SecretText password(Ask(inputs.prompt, kPasswordPrompt));
        const SecretText confirmation(Ask(inputs.prompt, kConfirmPrompt));
        if (auto complaint = CheckChosenPassword(std::string(password.View()),
                                                 std::string(confirmation.View()))) {
            return complaint;
        }
        chosen = std::move(password);
        return std::nullopt;
    });
    return chosen;
}

SecretText OpenWithPassword(const PasswordInputs& inputs, const CarrierReading& carrier,
                            std::ostream& err) {
    const auto open = [&](std::string entry) {
        const SecretText password(std::move(entry));
        return carrier.OpenSealed(password.View());
    };
    if (std::optional<std::string> given = GivenPassword(inputs)) {
        if (std::optional<SecretText> message = open(*std::move(given))) {
            return *std::move(message);
        }
        throw Refusal(kPasswordInvalid);
    }
    SecretText message;
    Retry(kPromptAttempts, err, [&]() -> std::optional<std::string> {
        if (std::optional<SecretText> opened = open(Ask(inputs.prompt, kPasswordPrompt))) {
            message = *std::move(opened);
            return std::nullopt;
        }
        return std::string(kPasswordInvalid);
    });
    return message;
}

void VerifyPassword(const PasswordInputs& inputs, const CarrierReading& carrier,
                    std::ostream& err) {
    if (const std::optional<std::string> given = GivenPassword(inputs)) {
        if (!carrier.Matches(*given)) {
            throw Refusal(kPasswordInvalid);
        }
        return;
    }
    Retry(kPromptAttempts, err, [&]() -> std::optional<std::string> {
        if (carrier.Matches(Ask(inputs.prompt, kPasswordPrompt))) {
            return std::nullopt;
        }
        return std::string(kPasswordInvalid);
    });
}
