#pragma once

#include "Afx.h"
#include "Reporter.h"

// Shows each of the engine's messages in the application's message box, and
// counts them.
class MessageBoxReporter final : public Reporter {
public:
    void Report(const std::string& message) override {
        ++m_count;
        AfxMessageBox(CString(message));
    }
    int Count() const { return m_count; }

private:
    int m_count = 0;
};
