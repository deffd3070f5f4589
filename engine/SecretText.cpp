#include "SecretText.h"

#include <sodium.h>

#include <utility>

SecretText::SecretText(std::size_t size) : m_bytes(size, '\0') {}

SecretText::SecretText(std::string_view text) : m_bytes(text.begin(), text.end()) {}

SecretText::SecretText(std::string&& text) : m_bytes(text.begin(), text.end()) {
    WipeBytes(text.data(), text.size());
    text.clear();
}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
    if (this != &other) {
        Wipe();
        m_bytes = std::move(other.m_bytes);
        other.m_bytes.clear();
    }
    return *this;
}

SecretText::~SecretText() {
    Wipe();
}

void SecretText::Wipe() {
    WipeBytes(m_bytes.data(), m_bytes.size());
}

void WipeBytes(void* bytes, std::size_t count) {
    if (count > 0) {
        sodium_memzero(bytes, count);
    }
}
