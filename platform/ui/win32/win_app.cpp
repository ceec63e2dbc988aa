// SPDX-License-Identifier: MIT
#include "platform/ui/win_app.h"
#include "platform/system/services.h"
#include "platform/ui/dialog.h"
#include "platform/ui/win32/main_window.h"
#include "platform/ui/win32/message_box.h"

#include <commctrl.h>
#include <objbase.h>

namespace {

CDialog* g_pTopWindow = nullptr;

} // namespace

HWND MainWindowHandle()
{
    return g_pTopWindow ? g_pTopWindow->GetSafeHwnd() : nullptr;
}

void CWinApp::SetTopWindow(CDialog* pWnd)
{
    g_pTopWindow = pWnd;
}

int RunWinApp(int, char**)
{
    CWinApp* app = CWinApp::GetApp();
    if (!app)
        return 1;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    // The windows' thread is a COM apartment of its own, for the names that
    // screen readers say.
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    GetServices().messageBox = ShowMessageBox;
    app->InitInstance();
    g_pTopWindow = nullptr;
    if (SUCCEEDED(com))
        ::CoUninitialize();
    return 0;
}
