// SPDX-License-Identifier: MIT
#include "platform/win_app.h"
#include "platform/dialog.h"
#include "platform/services.h"
#include "platform/win32/main_window.h"
#include "platform/win32/message_box.h"

#include <chrono>
#include <commctrl.h>

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
    GetServices().messageBox = ShowMessageBox;
    app->InitInstance();
    g_pTopWindow = nullptr;
    // Give a booking with the scheduler a moment to finish, but never hang.
    FinishBackgroundWork(std::chrono::seconds(2));
    return 0;
}
