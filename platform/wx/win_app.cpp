// SPDX-License-Identifier: MIT
#include "platform/wx/win_app.h"
#include "platform/exit_status.h"
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
    // wxEntry fails only when the toolkit cannot start, which here means no
    // display to reach yet.
    const int status = wxEntry(argc, argv);
    return status == -1 ? kExitNoDisplay : status;
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
    // The windows are gone; a booking or removal still under way finishes,
    // so that what orv.dat says is what the scheduler has, but a stuck
    // scheduler never keeps the program for long.
    FinishBackgroundWork(std::chrono::seconds(20));
    return wxApp::OnExit();
}
