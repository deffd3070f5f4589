#include <gtest/gtest.h>

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
