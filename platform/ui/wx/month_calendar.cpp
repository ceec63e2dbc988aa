// SPDX-License-Identifier: MIT
#include "platform/ui/wx/month_calendar.h"
#include "platform/ui/wx/native_window.h"

namespace {

// The key on the main keyboard that a keypad key stands for with NumLock off.
int MainKeyboardTwin(int key)
{
    switch (key) {
    case WXK_NUMPAD_LEFT:
        return WXK_LEFT;
    case WXK_NUMPAD_RIGHT:
        return WXK_RIGHT;
    case WXK_NUMPAD_UP:
        return WXK_UP;
    case WXK_NUMPAD_DOWN:
        return WXK_DOWN;
    case WXK_NUMPAD_PAGEUP:
        return WXK_PAGEUP;
    case WXK_NUMPAD_PAGEDOWN:
        return WXK_PAGEDOWN;
    case WXK_NUMPAD_HOME:
        return WXK_HOME;
    case WXK_NUMPAD_END:
        return WXK_END;
    case WXK_NUMPAD_SPACE:
        return WXK_SPACE;
    }
    return key;
}

} // namespace

// Made on a fixed day, which the program replaces with the day it read at
// start-up before the window is first shown: the clock is read once, by the
// program, and an invalid date would have wx read it again for today.
MonthCalendar::MonthCalendar(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size)
    : wxCalendarCtrl(parent, id, wxDateTime(1, wxDateTime::Jan, 2000), pos, size, wxCAL_SHOW_SURROUNDING_WEEKS)
{
    NameCalendarByDate(this);
    Bind(wxEVT_KEY_DOWN, &MonthCalendar::OnKeyDown, this);
}

void MonthCalendar::OnKeyDown(wxKeyEvent& event)
{
    const int key = MainKeyboardTwin(event.GetKeyCode());
    // With or without modifiers, Space would select the day of the toolkit's
    // focus mark, which the keys above do not move.
    if (key == WXK_SPACE)
        return;
    const wxDateTime date = GetDate();
    wxDateTime next = date;
    switch (event.GetModifiers() == wxMOD_NONE ? key : WXK_NONE) {
    case WXK_LEFT:
        next -= wxDateSpan::Day();
        break;
    case WXK_RIGHT:
        next += wxDateSpan::Day();
        break;
    case WXK_UP:
        next -= wxDateSpan::Week();
        break;
    case WXK_DOWN:
        next += wxDateSpan::Week();
        break;
    case WXK_PAGEUP:
        next -= wxDateSpan::Month();
        break;
    case WXK_PAGEDOWN:
        next += wxDateSpan::Month();
        break;
    case WXK_HOME:
        next.SetDay(1);
        break;
    case WXK_END:
        next.SetToLastMonthDay(date.GetMonth(), date.GetYear());
        break;
    default:
        event.Skip();
        return;
    }
    if (!date.IsValid() || next.IsSameDate(date))
        return;
    SetDate(next);
    // Setting the date sends no event; a key is the user's choice, so it does.
    wxCalendarEvent changed(this, GetDate(), wxEVT_CALENDAR_SEL_CHANGED);
    ProcessWindowEvent(changed);
}
