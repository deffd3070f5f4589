#include "PrefixedLines.h"

PrefixedLines::int_type PrefixedLines::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) {
        return traits_type::not_eof(c);
    }
    const char character = traits_type::to_char_type(c);
    return xsputn(&character, 1) == 1 ? c : traits_type::eof();
}

std::streamsize PrefixedLines::xsputn(const char* text, std::streamsize count) {
    const std::string_view rest(text, static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < rest.size()) {
        if (m_atLineStart) {
            m_target << m_prefix;
        }
        const std::size_t end = rest.find('\n', done);
        const std::size_t next = end == std::string_view::npos ? rest.size() : end + 1;
        m_target.write(rest.data() + done, static_cast<std::streamsize>(next - done));
        m_atLineStart = end != std::string_view::npos;
        done = next;
    }
    return m_target ? count : 0;
}

int PrefixedLines::sync() {
    return m_target.flush() ? 0 : -1;
}
