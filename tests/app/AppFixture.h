#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "DialogDriver.h"
#include "ScriptedInteractions.h"
#include "VeilnoteApp.h"
#include "VeilnoteDlg.h"
#include "resource.h"

// The application object as the program has it, with its controls registered
// and hosting on, in a test executable that sits beside the run-time files.
class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    // Runs the main window through InitInstance; `drive` acts as the user.
    void RunMainWindow(const std::function<void(CVeilnoteDlg&)>& drive);

    CVeilnoteApp m_app;
    ScriptedInteractions m_script;
    QTemporaryDir m_folder;
};

// Saves a PNG of `widget` under the build's screenshot folder.
void SaveScreenshot(QWidget* widget, const QString& name);
