// SPDX-License-Identifier: MIT
#pragma once

#include <wx/calctrl.h>

// The toolkit's month calendar, whose arrow keys select the next day or week
// at once, as Page Up and Page Down select the same day of the month before
// or after, and Home and End the first and last day of the month. The
// toolkit's own arrows only move a focus mark that a screen reader does not
// follow, until Space selects its day.
class MonthCalendar : public wxCalendarCtrl
{
public:
    MonthCalendar(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size);

private:
    void OnKeyDown(wxKeyEvent& event);
};
