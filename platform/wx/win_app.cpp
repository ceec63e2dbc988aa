// SPDX-License-Identifier: MIT
#include "platform/wx/win_app.h"
#include "platform/services.h"
#include "platform/wx/message_box.h"

#include <wx/image.h>
#include <wx/init.h>

#include <chrono>
#include <clocale>

void InstallWindowServices()
{
    GetServices().messageBox = ShowMessageBox;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
}

int RunWinApp(int argc, char** argv)
{
    return wxEntry(argc, argv);
}

bool CWinApp::OnInit()
{
    // The calendar follows the user's language: its month and day names, the
    // first day of the week, and the toolkit's own words. Numbers and
    // everything the program writes keep the C locale's form.
    for (const int category : {LC_CTYPE, LC_TIME, LC_MESSAGES})
        std::setlocale(category, "");
    InstallWindowServices();
    m_bRunLoop = InitInstance();
    return true;
}

int CWinApp::OnRun()
{
    return m_bRunLoop ? wxApp::OnRun() : 0;
}

int CWinApp::OnExit()
{
    // Give a booking with the scheduler a moment to finish, but never hang.
    FinishBackgroundWork(std::chrono::seconds(2));
    return wxApp::OnExit();
}
