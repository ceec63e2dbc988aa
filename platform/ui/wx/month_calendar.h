// SPDX-License-Identifier: MIT
#pragma once

#include <wx/calctrl.h>

// The toolkit's month calendar, whose arrow keys select the next day or week
// at once, as Page Up and Page Down select the same day of the month before
// or after, and Home and End the first and last day of the month; the
// keypad's keys do the same with NumLock off. The toolkit's own arrows would
// only move a focus mark of their own, apart from the selection, which Space
// then selected: here the selected day is the one the keyboard is on, so Space
// leaves it as it is.
class MonthCalendar : public wxCalendarCtrl
{
public:
    MonthCalendar(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size);

private:
    void OnKeyDown(wxKeyEvent& event);
};
