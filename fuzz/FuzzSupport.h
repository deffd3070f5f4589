#pragma once

#include <cstdlib>
#include <string>

#include "Reporter.h"

class CountingReporter : public Reporter {
public:
    void Report(const std::string& message) override {
        ++count;
        last = message;
    }
    int count = 0;
    std::string last;
};

// A broken promise is a crash, which is what the fuzzer looks for.
inline void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline std::string Trimmed(std::string text) {
    text.erase(text.find_last_not_of(" \t\n\v\f\r") + 1);
    return text;
}
