#pragma once

#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

// A stream that starts every line it passes on with a fixed prefix, so that
// each line the tool writes to standard error says where it comes from, also
// the lines the engine's reporter and the password prompts write.
class PrefixedLines : public std::streambuf {
public:
    PrefixedLines(std::ostream& target, std::string_view prefix)
        : m_target(target), m_prefix(prefix) {}

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize count) override;
    int sync() override;

private:
    std::ostream& m_target;
    std::string m_prefix;
    bool m_atLineStart = true;
};
