#include "app/main_dlg.h"
#include "platform/wx/win_app.h"

// The program: one modal main window for the whole run.
class CReaderApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        CMainDlg dlg;
        SetTopWindow(&dlg);
        dlg.DoModal();
        return FALSE;
    }
};

IMPLEMENT_WINAPP(CReaderApp);
