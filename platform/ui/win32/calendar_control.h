// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"

// Makes the month calendar `hCalendar` of a dialog behave as on Linux: the
// arrows, Page Up and Down, Home and End select a day at once and notify the
// dialog (MCN_SELCHANGE), as a click does; some versions of the control
// ignore those keys.
void HandleCalendarKeys(HWND hCalendar);

// Grows the calendar `hCalendar` to the smallest size at which the control
// draws a whole month, when its template made it smaller, and moves the
// controls to its right and below it, and the dialog's edges, on by as much.
void FitCalendar(HWND hDialog, HWND hCalendar);
