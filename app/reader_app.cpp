// SPDX-License-Identifier: MIT
#include "app/command_line.h"
#include "app/main_dlg.h"
#include "platform/program_dir.h"
#include "platform/services.h"
#include "platform/win_app.h"

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
    return RunWinApp(argc, argv);
}
