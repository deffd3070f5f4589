#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "PasswordRules.h"

namespace {

TEST(PasswordRules, LengthIsCheckedInBytesBeforeTheConfirmation) {
    EXPECT_EQ(CheckChosenPassword("1234567", "1234567"), kPasswordTooShort);
    EXPECT_EQ(CheckChosenPassword("1234567", "different"), kPasswordTooShort);
    EXPECT_EQ(CheckChosenPassword("12345678", "12345678"), std::nullopt);
    EXPECT_EQ(CheckChosenPassword("1234567890123456", "1234567890123456"), std::nullopt);
    EXPECT_EQ(CheckChosenPassword("12345678901234567", "other"), kPasswordTooLong);
    EXPECT_EQ(CheckChosenPassword("12345678", "12345679"), kPasswordMismatch);
    // Four two-byte characters make eight bytes.
    EXPECT_EQ(
        CheckChosenPassword("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F"),
        std::nullopt);
    EXPECT_EQ(CheckChosenPassword("\xC3\xA4\xC3\xB6\xC3\xBC\xC3", "\xC3\xA4\xC3\xB6\xC3\xBC\xC3"),
              kPasswordTooShort);
}

TEST(PasswordRules, LengthEdgesDifferForPlainAndSealedCarriers) {
    struct Row {
        std::size_t bytes;
        PasswordUse use;
        std::optional<std::string> complaint;
    };
    const std::optional<std::string> accepted;
    const Row rows[] = {
        {7, PasswordUse::kPlain, kPasswordTooShort},
        {8, PasswordUse::kPlain, accepted},
        {16, PasswordUse::kPlain, accepted},
        {17, PasswordUse::kPlain, kPasswordTooLong},
        {40, PasswordUse::kPlain, kPasswordTooLong},
        {7, PasswordUse::kSealed, kPasswordTooShort},
        {8, PasswordUse::kSealed, accepted},
        {17, PasswordUse::kSealed, accepted},
        {40, PasswordUse::kSealed, accepted},
        {128, PasswordUse::kSealed, accepted},
        {129, PasswordUse::kSealed, kSealedPassphraseTooLong},
        {1000, PasswordUse::kSealed, kSealedPassphraseTooLong},
    };
    for (const Row& row : rows) {
        const bool sealed = row.use == PasswordUse::kSealed;
        SCOPED_TRACE(std::to_string(row.bytes) + (sealed ? " bytes, sealed" : " bytes, plain"));
        const std::string password(row.bytes, 'p');
        EXPECT_EQ(CheckPasswordLength(password, row.use), row.complaint);
        EXPECT_EQ(CheckChosenPassword(password, password, row.use), row.complaint);
    }
}

TEST(PasswordRules, StoredFormKeepsTheFirstEightBytes) {
    EXPECT_EQ(StoredForm("longpassword"), "longpass58203614");
    EXPECT_EQ(StoredForm("\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\xC3\xA4"),
              "\xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F"
              "58203614");
    EXPECT_EQ(StoredForm("12345678").size(), 16u);

    const std::string stored = StoredForm("longpassword");
    EXPECT_TRUE(MatchesStored("longpassword", stored));
    EXPECT_TRUE(MatchesStored("longpass", stored));
    EXPECT_TRUE(MatchesStored("longpass-anything", stored));
    EXPECT_FALSE(MatchesStored("longpas", stored));
    EXPECT_FALSE(MatchesStored("Longpassword", stored));
}

}  // namespace
