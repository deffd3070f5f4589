#pragma once

#include "Afx.h"

// The application object: finds the program's folder and runs the main window.
class CVeilnoteApp : public CWinApp {
public:
    CVeilnoteApp();

    BOOL InitInstance() override;

    // The folder of the running executable, without a trailing slash.
    CString m_strAppDir;
    // The folder of the run-time files (skin, splash, help page), without a
    // trailing slash: res/ beside the executable, or the installed data folder.
    CString m_strResDir;

    DECLARE_MESSAGE_MAP()
};

// The running application object.
inline CVeilnoteApp& VeilnoteApp() {
    return static_cast<CVeilnoteApp&>(*AfxGetApp());
}
