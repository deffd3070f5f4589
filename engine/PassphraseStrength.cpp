#include "PassphraseStrength.h"

#include <zxcvbn.h>

#include <array>
#include <cmath>

namespace {

constexpr double kFairFromBits = 30;
constexpr double kStrongFromBits = 45;

struct Unit {
    double seconds;
    const char* one;
    const char* many;
};

constexpr double kMinute = 60;
constexpr double kHour = 60 * kMinute;
constexpr double kDay = 24 * kHour;
constexpr double kYear = 365.25 * kDay;

// Largest first; years go on in words so the figure stays short.
constexpr std::array kUnits{
    Unit{1e9 * kYear, "billion years", "billion years"},
    Unit{1e6 * kYear, "million years", "million years"},
    Unit{1e3 * kYear, "thousand years", "thousand years"},
    Unit{kYear, "year", "years"},
    Unit{kDay, "day", "days"},
    Unit{kHour, "hour", "hours"},
    Unit{kMinute, "minute", "minutes"},
    Unit{1, "second", "seconds"},
};

constexpr double kBeyondWords = 1e12 * kYear;

}  // namespace

double PassphraseEntropyBits(std::string_view passphrase) {
    // zxcvbn reads a C string.
    const std::string text(passphrase.substr(0, passphrase.find('\0')));
    return ZxcvbnMatch(text.c_str(), nullptr, nullptr);
}

PassphraseStrength StrengthOfBits(double bits) {
    if (bits < kFairFromBits) {
        return PassphraseStrength::kWeak;
    }
    return bits < kStrongFromBits ? PassphraseStrength::kFair : PassphraseStrength::kStrong;
}

std::string StrengthWord(PassphraseStrength strength) {
    switch (strength) {
        case PassphraseStrength::kWeak:
            return "Weak";
        case PassphraseStrength::kFair:
            return "Fair";
        case PassphraseStrength::kStrong:
            return "Strong";
    }
    return "Weak";
}

double SecondsToGuess(double bits) {
    return std::exp2(bits - 1) * kModerateDerivationSeconds / kAttackerCores;
}

std::string ReadableDuration(double seconds) {
    if (seconds >= kBeyondWords) {
        return "more than a trillion years";
    }
    for (const Unit& unit : kUnits) {
        if (seconds >= unit.seconds) {
            const auto count = static_cast<long long>(std::llround(seconds / unit.seconds));
            return "about " + std::to_string(count) + " " + (count == 1 ? unit.one : unit.many);
        }
    }
    return "less than a second";
}

PassphraseEstimate EstimatePassphrase(std::string_view passphrase) {
    PassphraseEstimate estimate;
    estimate.bits = PassphraseEntropyBits(passphrase);
    estimate.strength = StrengthOfBits(estimate.bits);
    estimate.hint = StrengthWord(estimate.strength) + ": " +
                    ReadableDuration(SecondsToGuess(estimate.bits)) + " for a thousand computers";
    return estimate;
}

std::string WeakPassphraseWarning(const PassphraseEstimate& estimate) {
    return estimate.hint +
           " to guess this passphrase. Four or more random words make a strong one.";
}
