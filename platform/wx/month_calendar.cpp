// SPDX-License-Identifier: MIT
#include "platform/wx/month_calendar.h"
#include "platform/wx/native_window.h"

MonthCalendar::MonthCalendar(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size)
    : wxCalendarCtrl(parent, id, wxDateTime::Today(), pos, size, wxCAL_SHOW_SURROUNDING_WEEKS)
{
    NameCalendarByDate(this);
    Bind(wxEVT_KEY_DOWN, &MonthCalendar::OnKeyDown, this);
}

void MonthCalendar::OnKeyDown(wxKeyEvent& event)
{
    const wxDateTime date = GetDate();
    wxDateTime next = date;
    switch (event.GetModifiers() == wxMOD_NONE ? event.GetKeyCode() : WXK_NONE) {
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
