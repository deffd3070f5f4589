#pragma once

#include <string>
#include <vector>

#include "Reporter.h"

// Keeps every message the engine reports, in order.
class RecordingReporter : public Reporter {
public:
    void Report(const std::string& message) override { messages.push_back(message); }
    std::vector<std::string> messages;
};
