#pragma once

#include <compare>
#include <cstddef>
#include <string>
#include <string_view>

#include "Com.h"
#include "WinTypes.h"

// The counted 8-bit string of the application: bytes in the locale's encoding
// (UTF-8), lengths and cuts counting bytes. Bytes are kept exactly as given;
// only display converts them (see TextEncoding.h).
class CString {
public:
    CString() = default;
    CString(const char* text) : m_bytes(text ? text : "") {}
    CString(std::string bytes) : m_bytes(std::move(bytes)) {}
    CString(std::string_view bytes) : m_bytes(bytes) {}
    CString(const char* bytes, std::size_t length) : m_bytes(bytes, length) {}

    int GetLength() const { return static_cast<int>(m_bytes.size()); }
    bool IsEmpty() const { return m_bytes.empty(); }
    void Empty() { m_bytes.clear(); }

    // The first `count` bytes (all of them when the string is shorter).
    CString Left(int count) const;
    CString Mid(int first) const;
    // Index of the last `ch`, or -1.
    int ReverseFind(char ch) const;

    // Loads string resource `id`; FALSE (and empty) when there is none.
    BOOL LoadString(UINT id);

    // The text as UTF-16, for automation calls.
    BSTR AllocSysString() const;

    const char* GetString() const { return m_bytes.c_str(); }
    // The bytes in place, for code that must overwrite them before they are
    // let go (a password after use); the length stays as it is.
    char* GetBuffer() { return m_bytes.data(); }
    const std::string& Bytes() const { return m_bytes; }
    operator const std::string&() const { return m_bytes; }

    CString& operator+=(const CString& other) {
        m_bytes += other.m_bytes;
        return *this;
    }
    friend CString operator+(CString left, const CString& right) { return left += right; }
    friend CString operator+(CString left, const char* right) { return left += CString(right); }
    friend CString operator+(const char* left, const CString& right) {
        return CString(left) += right;
    }
    friend bool operator==(const CString&, const CString&) = default;
    friend bool operator==(const CString& left, const char* right) {
        return left.m_bytes == (right ? right : "");
    }
    friend std::strong_ordering operator<=>(const CString&, const CString&) = default;

private:
    std::string m_bytes;
};
