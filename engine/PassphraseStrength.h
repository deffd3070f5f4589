#pragma once

#include <string>
#include <string_view>

// How guessable a passphrase is, as zxcvbn estimates it, and what that means
// against one attacker: a thousand cores, each trying one passphrase at a
// time at the cost of one key derivation at the moderate limits. On average
// the attacker finds the passphrase after 2^(bits-1) guesses.

enum class PassphraseStrength { kWeak, kFair, kStrong };

// Seconds of CPU one core spends on one Argon2id derivation at libsodium's
// moderate limits. veilnote_seal_bench (bench/SealBench.cpp,
// argon2id_written/ours) measured 0.55 s of CPU on a 2.6 GHz core of the
// development machine (opening a whole box, 0.51 s); rounded down, in the
// attacker's favour. The figures in the help page and the README follow it.
inline constexpr double kModerateDerivationSeconds = 0.5;
// The attacker's cores.
inline constexpr double kAttackerCores = 1000;

// zxcvbn's estimate of the bits of guessing `passphrase` needs. Stops at the
// first zero byte.
double PassphraseEntropyBits(std::string_view passphrase);

// The one place bits become a word: weak below 30 bits, fair from 30 to 45,
// strong from 45.
PassphraseStrength StrengthOfBits(double bits);

// "Weak", "Fair" or "Strong".
std::string StrengthWord(PassphraseStrength strength);

// Seconds the attacker needs on average for a passphrase of `bits`.
double SecondsToGuess(double bits);

// A duration as a person reads it: "less than a second", "about 3 hours",
// "about 12 thousand years", "more than a trillion years".
std::string ReadableDuration(double seconds);

struct PassphraseEstimate {
    double bits = 0;
    PassphraseStrength strength = PassphraseStrength::kWeak;
    // The line shown to the user, such as
    // "Weak: about 3 hours for a thousand computers".
    std::string hint;
};

PassphraseEstimate EstimatePassphrase(std::string_view passphrase);

// What both front ends tell before sealing with a weak passphrase, such as
// "Weak: about 3 hours for a thousand computers to guess this passphrase.
// Four or more random words make a strong one."
std::string WeakPassphraseWarning(const PassphraseEstimate& estimate);
