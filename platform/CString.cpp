#include "CString.h"

#include "Resources.h"
#include "TextEncoding.h"

CString CString::Left(int count) const {
    if (count <= 0)
        return {};
    return CString(m_bytes.substr(0, static_cast<std::size_t>(count)));
}

CString CString::Mid(int first) const {
    if (first <= 0)
        return *this;
    if (static_cast<std::size_t>(first) >= m_bytes.size())
        return {};
    return CString(m_bytes.substr(static_cast<std::size_t>(first)));
}

int CString::ReverseFind(char ch) const {
    const auto at = m_bytes.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

BSTR CString::AllocSysString() const {
    const QString text = BytesToDisplayText(m_bytes);
    return BSTR(reinterpret_cast<const char16_t*>(text.utf16()),
                static_cast<std::size_t>(text.size()));
}

BOOL CString::LoadString(UINT id) {
    m_bytes = std::string(FindStringResource(id));
    return m_bytes.empty() ? FALSE : TRUE;
}
