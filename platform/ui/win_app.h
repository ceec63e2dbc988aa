// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

class CDialog;

// The application: InitInstance runs once the window library is ready.
// Returning FALSE ends the program without entering a message loop. The
// program has one application object (IMPLEMENT_WINAPP).
class CWinApp
{
public:
    CWinApp();
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance() = 0;
    // Makes `pWnd` the main window, which owns the windows opened without an
    // owner while it runs.
    void SetTopWindow(CDialog* pWnd);

    // The one application object; nullptr before it is made.
    static CWinApp* GetApp();
};

// Starts the window library and runs the application object until the
// program ends; returns its exit status.
int RunWinApp(int argc, char** argv);

// Makes `cls` the class of the program's one application object, which
// RunWinApp runs; the program's own main calls RunWinApp.
#define IMPLEMENT_WINAPP(cls) cls theApp
