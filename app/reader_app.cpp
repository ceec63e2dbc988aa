// SPDX-License-Identifier: MIT
#include "app/command_line.h"
#include "app/main_dlg.h"
#include "platform/daily_start/daily_start.h"
#include "platform/system/program_dir.h"
#include "platform/system/services.h"
#include "platform/ui/win_app.h"

#include <chrono>

// The program: one modal main window for the whole run.
class CReaderApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        // Where the program's files are and which day it is are read once,
        // here, through the services that tests replace.
        InitProgramDir();
        CMainDlg dlg(GetLocalTime());
        SetTopWindow(&dlg);
        dlg.DoModal();
        return FALSE;
    }
};

IMPLEMENT_WINAPP(CReaderApp);

int main(int argc, char** argv)
{
    if (const std::optional<int> status = HandleCommandLine(argc, argv))
        return *status;
    const int status = RunWinApp(argc, argv);
    // The windows are gone; a daily start still being scheduled or removed
    // finishes, so that what orv.dat says is what the system has, but a
    // stuck scheduler never keeps the program for long.
    FinishBackgroundWork(std::chrono::seconds(20));
    return status;
}
