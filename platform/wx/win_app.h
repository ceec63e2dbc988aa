// SPDX-License-Identifier: MIT
#pragma once

#include "platform/types.h"

#include <wx/app.h>

// The application: InitInstance runs once the toolkit is ready. Returning
// FALSE ends the program without entering a message loop.
class CWinApp : public wxApp
{
public:
    virtual BOOL InitInstance() = 0;

    bool OnInit() override;
    int OnRun() override;
    int OnExit() override;

private:
    BOOL m_bRunLoop = FALSE;
};

// Puts the window library's services (the message box) in place.
void InstallWindowServices();

// Starts the toolkit and runs the application object until the program
// ends; returns its exit status.
int RunWinApp(int argc, char** argv);

// Declares `cls` as the class of the one application object that RunWinApp
// creates; the program's own main calls RunWinApp.
#define IMPLEMENT_WINAPP(cls) wxIMPLEMENT_APP_NO_MAIN(cls)
