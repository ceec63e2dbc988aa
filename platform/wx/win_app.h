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

// Creates the one application object of class `cls` when the program starts.
#define IMPLEMENT_WINAPP(cls) wxIMPLEMENT_APP(cls)
