#pragma once

#include "Afx.h"
#include "Reporter.h"

// Shows each of the engine's messages in the application's message box.
class MessageBoxReporter final : public Reporter {
public:
    void Report(const std::string& message) override { AfxMessageBox(CString(message)); }
};
