#pragma once

#include "Afx.h"

// The application object: finds the program's folder and runs the main window.
class CVeilnoteApp : public CWinApp {
public:
    CVeilnoteApp();

    BOOL InitInstance() override;

    // The folder of the running executable, without a trailing slash.
    CString m_strAppDir;

    DECLARE_MESSAGE_MAP()
};

// The running application object.
inline CVeilnoteApp& VeilnoteApp() {
    return static_cast<CVeilnoteApp&>(*AfxGetApp());
}
