#include "RuntimeClass.h"

#include "WinApp.h"

const CRuntimeClass* CRuntimeClass::FromName(std::string_view className) {
    const CWinApp* app = AfxGetApp();
    if (!app)
        return nullptr;
    for (const CRuntimeClass* each : app->RuntimeClasses()) {
        if (className == each->m_lpszClassName)
            return each;
    }
    return nullptr;
}
