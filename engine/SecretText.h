#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Bytes that must not outlive their use (a password, a key, a message): they
// are wiped from memory when the object goes. Move-only; a move hands the
// buffer over without copying it. Small ones (passwords, keys) are also kept
// out of swap and core files where the system allows it.
class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::size_t size);  // that many zero bytes
    explicit SecretText(std::string_view text);
    // Takes the text over and wipes the string it came in.
    explicit SecretText(std::string&& text);
    SecretText(SecretText&& other) noexcept;
    SecretText& operator=(SecretText&& other) noexcept;
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    ~SecretText();

    std::string_view View() const { return {m_bytes.data(), m_bytes.size()}; }
    unsigned char* Data() { return reinterpret_cast<unsigned char*>(m_bytes.data()); }
    std::size_t Size() const { return m_bytes.size(); }

    // Appends `bytes`. Growing moves the text to a larger buffer and wipes the
    // old one, so that text gathered piece by piece leaves no copies behind.
    void Append(std::string_view bytes);

private:
    void Lock();
    void Wipe();

    std::vector<char> m_bytes;
    bool m_locked = false;
};

// Overwrites every byte of `bytes` in a way the compiler cannot leave out.
void WipeBytes(void* bytes, std::size_t count);
