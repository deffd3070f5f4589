#include "PasswordRules.h"

#include <algorithm>

#include "SealedMessage.h"

namespace {

// The bytes of a password its stored form keeps.
std::string_view CountedPart(std::string_view password) {
    return password.substr(0, std::min(password.size(), kCountedPasswordBytes));
}

}  // namespace

std::string StoredForm(std::string_view password) {
    return std::string(CountedPart(password)) + kStoredSuffix;
}

bool IsStoredForm(std::string_view stored) {
    return stored.size() == kStoredFormBytes && stored.ends_with(kStoredSuffix);
}

std::optional<std::string> CheckPasswordLength(std::string_view password, PasswordUse use) {
    if (password.size() < kMinPasswordLength) {
        return kPasswordTooShort;
    }
    if (use == PasswordUse::kSealed) {
        if (password.size() > kMaxSealedPassphraseLength) {
            return kSealedPassphraseTooLong;
        }
        return std::nullopt;
    }
    if (password.size() > kMaxPasswordLength) {
        return kPasswordTooLong;
    }
    return std::nullopt;
}

std::optional<std::string> CheckChosenPassword(std::string_view password,
                                               std::string_view confirmation, PasswordUse use) {
    if (auto complaint = CheckPasswordLength(password, use)) {
        return complaint;
    }
    if (password.find('\0') != std::string_view::npos) {
        return kPasswordHasZeroByte;
    }
    // No stored form of a chosen password may equal the sealed carriers' one.
    if (password.find(kSealSentinel.front()) != std::string_view::npos) {
        return kPasswordReservedByte;
    }
    if (password != confirmation) {
        return kPasswordMismatch;
    }
    return std::nullopt;
}

bool MatchesStored(std::string_view entry, std::string_view stored) {
    // A sealed carrier's password record is opened by no entry, even where its
    // message record is not a sealed one. The entry's stored form is compared
    // in its two parts, so that no copy of the entry is made.
    if (stored == SealedStoredForm()) {
        return false;
    }
    const std::string_view counted = CountedPart(entry);
    return stored.size() == counted.size() + std::string_view(kStoredSuffix).size() &&
           stored.starts_with(counted) && stored.ends_with(kStoredSuffix);
}
