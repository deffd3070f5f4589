#include "PasswordSource.h"

#include "Errors.h"
#include "FileIO.h"
#include "PassphraseStrength.h"
#include "PasswordRules.h"

namespace {

constexpr SizeLimit kPasswordFileLimit{1024 * 1024, "1 MiB"};
constexpr const char* kPasswordPrompt = "Password: ";
constexpr const char* kConfirmPrompt = "Confirm Pw: ";

// The password given without asking, if any.
std::optional<SecretText> GivenPassword(const PasswordInputs& inputs) {
    if (inputs.file) {
        const SecretText content = ReadSecretFile(*inputs.file, kPasswordFileLimit);
        return SecretText(FirstLine(content.View()));
    }
    if (inputs.environment != nullptr) {
        return SecretText(inputs.environment->View());
    }
    return std::nullopt;
}

SecretText Ask(PasswordPrompt* prompt, const std::string& text) {
    if (prompt == nullptr) {
        throw Refusal("no password given: use --password-file PWFILE or set VEILNOTE_PASSWORD");
    }
    std::optional<SecretText> answer = prompt->Ask(text);
    if (!answer) {
        throw Refusal("no password entered");
    }
    return *std::move(answer);
}

// Runs `attempt` until it returns no complaint; complaints of all but the
// last try are printed, the last one is thrown as a `Failure`.
template <typename Failure, typename Attempt>
void Retry(int tries, std::ostream& err, Attempt attempt) {
    for (int tried = 1;; ++tried) {
        const std::optional<std::string> complaint = attempt();
        if (!complaint) {
            return;
        }
        if (tried >= tries) {
            throw Failure(*complaint);
        }
        err << *complaint << '\n';
    }
}

SecretText Choose(const PasswordInputs& inputs, std::ostream& err, PasswordUse use) {
    if (std::optional<SecretText> given = GivenPassword(inputs)) {
        if (const auto complaint = CheckChosenPassword(given->View(), given->View(), use)) {
            throw Refusal(*complaint);
        }
        return *std::move(given);
    }
    SecretText chosen;
    Retry<Refusal>(kPromptAttempts, err, [&]() -> std::optional<std::string> {
        SecretText password = Ask(inputs.prompt, kPasswordPrompt);
        // A length the rules refuse is said at once, not after it is typed twice.
        if (auto complaint = CheckPasswordLength(password.View(), use)) {
            return complaint;
        }
        const SecretText confirmation = Ask(inputs.prompt, kConfirmPrompt);
        if (auto complaint = CheckChosenPassword(password.View(), confirmation.View(), use)) {
            return complaint;
        }
        chosen = std::move(password);
        return std::nullopt;
    });
    return chosen;
}

}  // namespace

std::string_view FirstLine(std::string_view text) {
    const std::string_view line = text.substr(0, text.find('\n'));
    if (line.size() < text.size() && line.ends_with('\r')) {
        return line.substr(0, line.size() - 1);
    }
    return line;
}

std::string ChooseStoredPassword(const PasswordInputs& inputs, std::ostream& err) {
    return StoredForm(Choose(inputs, err, PasswordUse::kPlain).View());
}

SecretText ChoosePassword(const PasswordInputs& inputs, std::ostream& err) {
    SecretText passphrase = Choose(inputs, err, PasswordUse::kSealed);
    // A script has no one to ask: it is told, and the seal goes on.
    const PassphraseEstimate estimate = EstimatePassphrase(passphrase.View());
    if (estimate.strength == PassphraseStrength::kWeak) {
        err << "warning: " << WeakPassphraseWarning(estimate) << '\n';
    }
    return passphrase;
}

SecretText OpenWithPassword(const PasswordInputs& inputs, const CarrierReading& carrier,
                            std::ostream& err) {
    if (const std::optional<SecretText> given = GivenPassword(inputs)) {
        if (std::optional<SecretText> message = carrier.OpenSealed(given->View())) {
            return *std::move(message);
        }
        throw WrongPassword(kPasswordInvalid);
    }
    SecretText message;
    Retry<WrongPassword>(kPromptAttempts, err, [&]() -> std::optional<std::string> {
        const SecretText password = Ask(inputs.prompt, kPasswordPrompt);
        if (std::optional<SecretText> opened = carrier.OpenSealed(password.View())) {
            message = *std::move(opened);
            return std::nullopt;
        }
        return std::string(kPasswordInvalid);
    });
    return message;
}

void VerifyPassword(const PasswordInputs& inputs, const CarrierReading& carrier,
                    std::ostream& err) {
    if (const std::optional<SecretText> given = GivenPassword(inputs)) {
        if (!carrier.Matches(given->View())) {
            throw WrongPassword(kPasswordInvalid);
        }
        return;
    }
    Retry<WrongPassword>(kPromptAttempts, err, [&]() -> std::optional<std::string> {
        if (carrier.Matches(Ask(inputs.prompt, kPasswordPrompt).View())) {
            return std::nullopt;
        }
        return std::string(kPasswordInvalid);
    });
}
