#include "PasswordRules.h"

std::string StoredForm(const std::string& password) {
    return password.substr(0, 8) + kStoredSuffix;
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
    if (password != confirmation) {
        return kPasswordMismatch;
    }
    return std::nullopt;
}

bool MatchesStored(const std::string& entry, const std::string& stored) {
    return StoredForm(entry) == stored;
}
