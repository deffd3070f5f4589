#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "PassphraseStrength.h"

namespace {

TEST(PassphraseStrength, CommonPasswordsAreWeakAndRandomWordsAreNot) {
    struct Case {
        std::string passphrase;
        bool weak;
    };
    const std::vector<Case> cases = {
        {"password1234", true},
        {"12345678", true},
        {"letmein1", true},
        {"qwertyuiop", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", true},
        {"amber tulip", true},
        {"correct horse battery staple", false},
        {"zebra quiet lantern morning", false},
        {"kXp9#vLm2q", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.passphrase);
        const PassphraseEstimate estimate = EstimatePassphrase(c.passphrase);
        EXPECT_EQ(estimate.strength == PassphraseStrength::kWeak, c.weak) << estimate.bits;
        const std::string word = StrengthWord(estimate.strength);
        EXPECT_TRUE(estimate.hint.starts_with(word + ": ")) << estimate.hint;
        EXPECT_TRUE(estimate.hint.ends_with(" for a thousand computers")) << estimate.hint;
    }
    EXPECT_EQ(EstimatePassphrase("correct horse battery staple").strength,
              PassphraseStrength::kStrong);
    EXPECT_EQ(EstimatePassphrase("password1234").hint,
              "Weak: less than a second for a thousand computers");
}

TEST(PassphraseStrength, DurationsReadInTheLargestWholeUnit) {
    constexpr double kDay = 86400;
    constexpr double kYear = 365.25 * kDay;
    const std::vector<std::pair<double, std::string>> cases = {
        {0, "less than a second"},
        {1, "about 1 second"},
        {90, "about 2 minutes"},
        {3 * 3600 + 600, "about 3 hours"},
        {kDay, "about 1 day"},
        {3 * kYear, "about 3 years"},
        {12.4e3 * kYear, "about 12 thousand years"},
        {13e9 * kYear, "about 13 billion years"},
        {2e12 * kYear, "more than a trillion years"},
    };
    for (const auto& [seconds, text] : cases) {
        EXPECT_EQ(ReadableDuration(seconds), text) << seconds;
    }
}

}  // namespace
