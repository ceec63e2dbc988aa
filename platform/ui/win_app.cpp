// SPDX-License-Identifier: MIT
#include "platform/ui/win_app.h"

namespace {

CWinApp* g_pApp = nullptr;

} // namespace

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

CWinApp* CWinApp::GetApp()
{
    return g_pApp;
}
