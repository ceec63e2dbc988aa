// SPDX-License-Identifier: MIT
#include "platform/win_app.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/win32/main_window.h"
#include "platform/win32/message_box.h"

#include <chrono>
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
    // Give a booking with the scheduler a moment to finish, but never hang.
    FinishBackgroundWork(std::chrono::seconds(2));
    return 0;
}
