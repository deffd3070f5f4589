#include "VeilnoteApp.h"

#include "RuntimeFolder.h"
#include "VeilnoteDlg.h"
#include "Version.h"

CVeilnoteApp::CVeilnoteApp() : CWinApp(nullptr) {
    m_strVersion = version::kDotted;
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
