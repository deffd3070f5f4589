#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CString.h"
#include "ControlRegistry.h"
#include "Graphics.h"
#include "Interactions.h"
#include "MessageMap.h"
#include "RuntimeClass.h"
#include "WinTypes.h"

class CWnd;

inline constexpr UINT ID_HELP = 0xE146;

// The application: its name, its main window, the controls it can host, and
// the way it meets the user. One instance lives while the program runs.
class CWinApp : public CCmdTarget {
public:
    // Without a name, the application is named after its executable file.
    explicit CWinApp(const char* appName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();

    BOOL Enable3dControls();
    HICON LoadIcon(UINT id) const;

    ControlRegistry& Controls() { return m_controls; }
    bool ControlContainerEnabled() const { return m_controlContainerEnabled; }
    void EnableControlContainer() { m_controlContainerEnabled = true; }

    // The classes that CRuntimeClass::FromName finds, by their names.
    void AddRuntimeClass(const CRuntimeClass* runtimeClass) {
        m_runtimeClasses.push_back(runtimeClass);
    }
    const std::vector<const CRuntimeClass*>& RuntimeClasses() const { return m_runtimeClasses; }

    Interactions& GetInteractions() { return m_interactions ? *m_interactions : m_real; }
    // Puts `interactions` in the user's place (null restores the real ones);
    // gives back what was there.
    Interactions* SetInteractions(Interactions* interactions) {
        return std::exchange(m_interactions, interactions);
    }

    // The program's arguments after its name, less the window system's own
    // options, which it takes as it starts (AfxWinMain).
    std::vector<std::string> m_arguments;
    CString m_strAppName;
    CString m_strVersion;  // dotted, as the desktop shows it
    CWnd* m_pMainWnd = nullptr;

protected:
    void OnHelp();
    const MessageMap& GetMessageMap() const override;

private:
    ControlRegistry m_controls;
    std::vector<const CRuntimeClass*> m_runtimeClasses;
    RealInteractions m_real;
    Interactions* m_interactions = nullptr;
    bool m_controlContainerEnabled = false;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
const char* AfxGetAppName();
void AfxEnableControlContainer();
// A message box with the buttons, icon and default button of an MB_* type;
// gives the id of the answer (IDOK, IDYES, IDNO, IDCANCEL).
int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT helpId = 0);
// A question whose answers are our own, for choices the standard buttons
// cannot name; gives the id of the chosen answer.
int AfxAskQuestion(const CString& text, std::vector<MessageBoxAnswer> answers, int defaultAnswer,
                   UINT icon = MB_ICONQUESTION);

// A note for whoever debugs the program: a debug message of category
// "veilnote.app", shown when QT_LOGGING_RULES asks for it.
void AfxTrace(const CString& text);

// Starts the window system, runs the application's InitInstance and returns
// the process's exit code.
int AfxWinMain(int argc, char** argv);

// The full path of the running executable, links resolved.
CString GetModuleFileName();

using HANDLE = int;
// A named object other processes can see while this one runs: a lock file in
// the user's runtime folder, held shared, released when the process ends.
HANDLE CreateMutex(const void* security, BOOL initialOwner, const char* name);
