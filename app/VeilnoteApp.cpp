#include "VeilnoteApp.h"

#include "CommandLine.h"
#include "RuntimeFolder.h"
#include "Skin.h"
#include "Splash.h"
#include "VeilnoteDlg.h"
#include "Version.h"

namespace {
// The caption of every message box: the program's name, whatever its
// executable file is called.
constexpr const char* kAppName = "Veilnote";
}  // namespace

CVeilnoteApp::CVeilnoteApp() : CWinApp(kAppName) {
    m_strVersion = version::kDotted;
    AddRuntimeClass(RUNTIME_CLASS(CSplash));
    AddRuntimeClass(RUNTIME_CLASS(CSkin));
    const CString strModule = GetModuleFileName();
    const int nSlash = strModule.ReverseFind('/');
    m_strAppDir = nSlash >= 0 ? strModule.Left(nSlash) : CString();
    m_strResDir = CString(FindRuntimeFolder(m_strAppDir.Bytes()).string());
}

BOOL CVeilnoteApp::InitInstance() {
    AfxEnableControlContainer();

    // Seen by other processes while we run; never tested, so a second copy
    // starts like the first.
    CreateMutex(nullptr, FALSE, "BrimvaleVeilnote");

    Enable3dControls();

    {
        CVeilnoteDlg dlg;
        dlg.m_strOpenAtStart = CString(StartFileOf(m_arguments));
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
    }
    // The main window's run is the program's whole life.
    return FALSE;
}

const MessageMap& CVeilnoteApp::GetMessageMap() const {
    using Map = MessageMapFor<CVeilnoteApp>;
    static const MessageMap map(&CWinApp::GetMessageMap(),
                                {Map::Clicked(ID_HELP, &CVeilnoteApp::OnHelp)});
    return map;
}
