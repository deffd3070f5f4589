#include "SecretText.h"

#include <sodium.h>

#include <algorithm>
#include <utility>

namespace {

// Locking costs a system call and counts against a small per-process limit:
// it is worth it for passwords and keys, not for long messages.
constexpr std::size_t kLockedAtMost = 4096;

}  // namespace

SecretText::SecretText(std::size_t size) : m_bytes(size, '\0') {
    Lock();
}

SecretText::SecretText(std::string_view text) : m_bytes(text.begin(), text.end()) {
    Lock();
}

SecretText::SecretText(std::string&& text) : m_bytes(text.begin(), text.end()) {
    WipeBytes(text.data(), text.size());
    text.clear();
    Lock();
}

SecretText::SecretText(SecretText&& other) noexcept
    : m_bytes(std::move(other.m_bytes)), m_locked(std::exchange(other.m_locked, false)) {
    other.m_bytes.clear();
}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
    if (this != &other) {
        Wipe();
        m_bytes = std::move(other.m_bytes);
        m_locked = std::exchange(other.m_locked, false);
        other.m_bytes.clear();
    }
    return *this;
}

SecretText::~SecretText() {
    Wipe();
}

void SecretText::Append(std::string_view bytes) {
    if (m_bytes.size() + bytes.size() > m_bytes.capacity()) {
        std::vector<char> larger;
        larger.reserve(
            std::max({m_bytes.capacity() * 2, m_bytes.size() + bytes.size(), std::size_t{32}}));
        larger.assign(m_bytes.begin(), m_bytes.end());
        Wipe();
        m_bytes = std::move(larger);
        Lock();
    }
    m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
}

void SecretText::Lock() {
    // A failure (no memory may be locked, as under a small RLIMIT_MEMLOCK)
    // still leaves the text wiped when it goes.
    m_locked = m_bytes.capacity() > 0 && m_bytes.capacity() <= kLockedAtMost &&
               sodium_mlock(m_bytes.data(), m_bytes.capacity()) == 0;
}

void SecretText::Wipe() {
    if (m_locked) {
        sodium_munlock(m_bytes.data(), m_bytes.capacity());  // wipes, then unlocks
        m_locked = false;
        return;
    }
    WipeBytes(m_bytes.data(), m_bytes.size());
}

void WipeBytes(void* bytes, std::size_t count) {
    if (count > 0) {
        sodium_memzero(bytes, count);
    }
}
