#include "WinApp.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <QApplication>
#include <QLoggingCategory>

#include "Wnd.h"

namespace {
Q_LOGGING_CATEGORY(lcApp, "veilnote.app", QtInfoMsg)

// The one live application object, as the class library keeps it.
CWinApp* g_currentApp = nullptr;

CString NameWithoutExtension(const CString& path) {
    return CString(std::filesystem::path(path.Bytes()).stem().string());
}
}  // namespace

CWinApp::CWinApp(const char* appName)
    : m_strAppName(appName ? CString(appName) : NameWithoutExtension(GetModuleFileName())) {
    g_currentApp = this;
}

CWinApp::~CWinApp() {
    if (g_currentApp == this)
        g_currentApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

BOOL CWinApp::Enable3dControls() {
    // Qt draws controls in the desktop's own style already.
    return TRUE;
}

HICON CWinApp::LoadIcon(UINT id) const {
    return LoadIconResource(id);
}

void CWinApp::OnHelp() {
    // No help file is named for the application as a whole.
}

const MessageMap& CWinApp::GetMessageMap() const {
    static const MessageMap map(&CCmdTarget::GetMessageMap(), {});
    return map;
}

CWinApp* AfxGetApp() {
    return g_currentApp;
}

CWnd* AfxGetMainWnd() {
    return g_currentApp ? g_currentApp->m_pMainWnd : nullptr;
}

const char* AfxGetAppName() {
    return g_currentApp ? g_currentApp->m_strAppName.GetString() : "";
}

void AfxEnableControlContainer() {
    if (g_currentApp)
        g_currentApp->EnableControlContainer();
}

int AfxMessageBox(const CString& text, UINT type, UINT /*helpId*/) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return IDCANCEL;
    return app->GetInteractions().MessageBox(
        AfxGetMainWnd(), MessageBoxRequest::FromType(text, CString(AfxGetAppName()), type));
}

int AfxAskQuestion(const CString& text, std::vector<MessageBoxAnswer> answers, int defaultAnswer,
                   UINT icon) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return IDCANCEL;
    return app->GetInteractions().MessageBox(
        AfxGetMainWnd(),
        MessageBoxRequest{text, CString(AfxGetAppName()), icon, std::move(answers), defaultAnswer});
}

void AfxTrace(const CString& text) {
    qCDebug(lcApp).noquote() << QString::fromStdString(text.Bytes());
}

int AfxWinMain(int argc, char** argv) {
    CWinApp* app = AfxGetApp();
    if (!app)
        return EXIT_FAILURE;
    // Takes the window system's options out of argc and argv.
    QApplication application(argc, argv);
    app->m_arguments.assign(argv + std::min(argc, 1), argv + argc);
    QApplication::setApplicationName(QString::fromStdString(app->m_strAppName.Bytes()));
    QApplication::setApplicationVersion(QString::fromStdString(app->m_strVersion.Bytes()));
    if (app->InitInstance()) {
        return QApplication::exec();
    }
    return EXIT_SUCCESS;
}

CString GetModuleFileName() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? CString() : CString(path.string());
}

HANDLE CreateMutex(const void* /*security*/, BOOL /*initialOwner*/, const char* name) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::filesystem::path folder = runtime && *runtime
                                             ? std::filesystem::path(runtime)
                                             : std::filesystem::temp_directory_path();
    const std::string lockPath = (folder / (std::string(name) + ".lock")).string();
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return -1;
    // Shared, so every running copy holds it; the descriptor stays open (and
    // the lock held) until the process ends.
    ::flock(fd, LOCK_SH | LOCK_NB);
    return fd;
}
