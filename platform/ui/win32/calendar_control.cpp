// SPDX-License-Identifier: MIT
#include "platform/ui/win32/calendar_control.h"
#include "platform/ui/win32/calendar_keys.h"

#include <commctrl.h>
#include <optional>

namespace {

std::optional<CalendarKey> KeyOf(WPARAM vk)
{
    switch (vk) {
    case VK_LEFT:
        return CalendarKey::DayBefore;
    case VK_RIGHT:
        return CalendarKey::DayAfter;
    case VK_UP:
        return CalendarKey::WeekBefore;
    case VK_DOWN:
        return CalendarKey::WeekAfter;
    case VK_PRIOR:
        return CalendarKey::MonthBefore;
    case VK_NEXT:
        return CalendarKey::MonthAfter;
    case VK_HOME:
        return CalendarKey::FirstOfMonth;
    case VK_END:
        return CalendarKey::LastOfMonth;
    default:
        return std::nullopt;
    }
}

bool NoModifiers()
{
    return ::GetKeyState(VK_CONTROL) >= 0 && ::GetKeyState(VK_SHIFT) >= 0 && ::GetKeyState(VK_MENU) >= 0;
}

LRESULT CALLBACK CalendarProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    // The arrows are the calendar's; Escape and Enter stay the dialog's,
    // which some versions of the control would take for themselves.
    if (message == WM_GETDLGCODE)
        return (::DefSubclassProc(hWnd, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) |
            DLGC_WANTARROWS;
    if (message == WM_NCDESTROY)
        ::RemoveWindowSubclass(hWnd, CalendarProc, 0);
    const std::optional<CalendarKey> key = message == WM_KEYDOWN ? KeyOf(wParam) : std::nullopt;
    if (!key || !NoModifiers())
        return ::DefSubclassProc(hWnd, message, wParam, lParam);

    SYSTEMTIME date{};
    if (!::SendMessageW(hWnd, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date)))
        return 0;
    const SYSTEMTIME next = DateAfterKey(date, *key);
    if (next.wYear == date.wYear && next.wMonth == date.wMonth && next.wDay == date.wDay)
        return 0;
    ::SendMessageW(hWnd, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&next));
    // Setting the selection sends no notification; a key is the user's
    // choice, so the dialog hears of it as of a click.
    NMSELCHANGE change{};
    change.nmhdr.hwndFrom = hWnd;
    change.nmhdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(hWnd));
    change.nmhdr.code = MCN_SELCHANGE;
    change.stSelStart = next;
    change.stSelEnd = next;
    ::SendMessageW(::GetParent(hWnd), WM_NOTIFY, change.nmhdr.idFrom, reinterpret_cast<LPARAM>(&change));
    return 0;
}

// `hWnd`'s rectangle in its dialog's client coordinates.
RECT RectInDialog(HWND hDialog, HWND hWnd)
{
    RECT r{};
    ::GetWindowRect(hWnd, &r);
    ::MapWindowPoints(HWND_DESKTOP, hDialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

} // namespace

void HandleCalendarKeys(HWND hCalendar)
{
    ::SetWindowSubclass(hCalendar, CalendarProc, 0, 0);
}

void FitCalendar(HWND hDialog, HWND hCalendar)
{
    RECT need{};
    if (!::SendMessageW(hCalendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need)))
        return;
    const RECT cal = RectInDialog(hDialog, hCalendar);
    const int dx = (need.right - need.left) - (cal.right - cal.left);
    const int dy = (need.bottom - need.top) - (cal.bottom - cal.top);
    if (dx <= 0 && dy <= 0)
        return;
    const int growX = dx > 0 ? dx : 0;
    const int growY = dy > 0 ? dy : 0;
    ::SetWindowPos(hCalendar, nullptr, 0, 0, cal.right - cal.left + growX, cal.bottom - cal.top + growY,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    for (HWND child = ::GetWindow(hDialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (child == hCalendar)
            continue;
        const RECT r = RectInDialog(hDialog, child);
        const int x = r.left >= cal.right ? r.left + growX : r.left;
        const int y = r.top >= cal.bottom ? r.top + growY : r.top;
        if (x != r.left || y != r.top)
            ::SetWindowPos(child, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT frame{};
    ::GetWindowRect(hDialog, &frame);
    ::SetWindowPos(hDialog, nullptr, 0, 0, frame.right - frame.left + growX, frame.bottom - frame.top + growY,
        SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
