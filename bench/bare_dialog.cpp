// SPDX-License-Identifier: MIT
// The floor for the Windows program's start-up: the main window's template as
// a bare dialog of the system's own, with the same controls, the calendar
// given the same room and a reading of fixed text, and nothing else (no book,
// no settings, no chime, no booking). Escape ends it.
#include "platform/ui/win32/calendar_control.h"
#include "platform/ui/win32/dialog_template_ex.h"
#include "resources/resource.h"

namespace {

INT_PTR CALLBACK BareProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        FitCalendar(hWnd, ::GetDlgItem(hWnd, IDC_CALENDAR));
        ::SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        ::SetDlgItemTextW(hWnd, IDC_VERSE, L"Verse 1:\r\n\r\nA journey of a thousand miles begins with a single step.");
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)
            ::EndDialog(hWnd, 0);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::vector<std::uint16_t> bytes = BuildDialogTemplateEx(*FindDialogTemplate(IDD_MAIN));
    ::DialogBoxIndirectParamW(
        ::GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), nullptr, BareProc, 0);
    return 0;
}
