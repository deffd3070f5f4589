#pragma once

#include <ostream>
#include <string>

#include "Reporter.h"

// Prints each engine message on its own line and counts them.
class StreamReporter : public Reporter {
public:
    explicit StreamReporter(std::ostream& stream) : m_stream(stream) {}
    void Report(const std::string& message) override;
    int Count() const { return m_count; }

private:
    std::ostream& m_stream;
    int m_count = 0;
};
