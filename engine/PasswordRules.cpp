#include "PasswordRules.h"

#include "SealedMessage.h"

std::string StoredForm(const std::string& password) {
    return password.substr(0, kCountedPasswordBytes) + kStoredSuffix;
}

bool IsStoredForm(const std::string& stored) {
    return stored.size() == kStoredFormBytes && stored.ends_with(kStoredSuffix);
}

std::optional<std::string> CheckChosenPassword(const std::string& password,
                                               const std::string& confirmation) {
    if (password.size() < kMinPasswordLength) {
        return kPasswordTooShort;
    }
    if (password.size() > kMaxPasswordLength) {
        return kPasswordTooLong;
    }
    if (password.find('\0') != std::string::npos) {
        return kPasswordHasZeroByte;
    }
    // No stored form of a chosen password may equal the sealed carriers' one.
    if (password.find(kSealSentinel.front()) != std::string::npos) {
        return kPasswordReservedByte;
    }
    if (password != confirmation) {
        return kPasswordMismatch;
    }
    return std::nullopt;
}

bool MatchesStored(const std::string& entry, const std::string& stored) {
    // A sealed carrier's password record is opened by no entry, even where its
    // message record is not a sealed one.
    return stored != SealedStoredForm() && StoredForm(entry) == stored;
}
