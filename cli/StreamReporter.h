#pragma once

#include <ostream>
#include <string>

#include "Reporter.h"

// Prints each engine message on its own line.
class StreamReporter : public Reporter {
public:
    explicit StreamReporter(std::ostream& stream) : m_stream(stream) {}
    void Report(const std::string& message) override;

private:
    std::ostream& m_stream;
};
