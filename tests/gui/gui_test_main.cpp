// SPDX-License-Identifier: MIT
// Runs the window tests inside an initialised toolkit; a toolkit assertion,
// such as an unexpected or missing modal box, fails the current test.
#include "platform/ui/wx/win_app.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/init.h>

namespace {

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE_AT(file.utf8_str(), line) << func << ": " << cond << " " << msg;
}

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new wxApp);
    if (!wxEntryStart(argc, argv) || !wxTheApp->CallOnInit()) {
        fprintf(stderr, "cannot start the toolkit (no display?)\n");
        return 1;
    }
    wxSetAssertHandler(FailOnAssert);
    InstallWindowServices();
    const int result = RUN_ALL_TESTS();
    wxEntryCleanup();
    return result;
}
