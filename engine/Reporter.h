#pragma once

#include <string>

// Where the engine's messages go. The engine knows no user interface: the
// window shows message boxes, the command-line tool prints, tests record.
class Reporter {
public:
    virtual ~Reporter() = default;
    virtual void Report(const std::string& message) = 0;
};

// Swallows the engine's messages, where the caller tells the user itself.
class SilentReporter : public Reporter {
public:
    void Report(const std::string& /*message*/) override {}
};
