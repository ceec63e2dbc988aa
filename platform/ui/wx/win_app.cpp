// SPDX-License-Identifier: MIT
#include "platform/ui/wx/win_app.h"
#include "platform/system/exit_status.h"
#include "platform/system/services.h"
#include "platform/ui/win_app.h"
#include "platform/ui/wx/dialog_window.h"
#include "platform/ui/wx/message_box.h"

#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>
#include <wx/log.h>

#include <clocale>

namespace {

// The toolkit's application, running the program's application object.
class ToolkitApp : public wxApp
{
public:
    explicit ToolkitApp(CWinApp& app)
        : m_app(app)
    { }

    bool OnInit() override
    {
        // The calendar follows the user's language: its month and day names,
        // the first day of the week, and the toolkit's own words. Numbers and
        // everything the program writes keep the C locale's form.
        for (const int category : {LC_CTYPE, LC_TIME, LC_MESSAGES})
            std::setlocale(category, "");
        InstallWindowServices();
        m_bRunLoop = m_app.InitInstance();
        return true;
    }

    int OnRun() override { return m_bRunLoop ? wxApp::OnRun() : 0; }

private:
    CWinApp& m_app;
    BOOL m_bRunLoop = FALSE;
};

} // namespace

void InstallWindowServices()
{
    GetServices().messageBox = ShowMessageBox;
    if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG))
        wxImage::AddHandler(new wxPNGHandler);
}

int RunWinApp(int argc, char** argv)
{
    CWinApp* app = CWinApp::GetApp();
    if (!app)
        return 1;
    // The toolkit's own complaints go to standard error: a window for them
    // could not even be made when there is no display to reach.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxApp::SetInstance(new ToolkitApp(*app));
    // wxEntry fails only when the toolkit cannot start, which here means no
    // display to reach yet.
    const int status = wxEntry(argc, argv);
    return status == -1 ? kExitNoDisplay : status;
}

void CWinApp::SetTopWindow(CDialog* pWnd)
{
    wxTheApp->SetTopWindow(pWnd ? WindowOf(pWnd->GetSafeHwnd()) : nullptr);
}
