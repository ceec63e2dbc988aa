// SPDX-License-Identifier: MIT
#pragma once

#include <wx/string.h>

#include <functional>

class wxWindow;

// What the toolkit's own windows offer beyond the window library: keeping a
// window where it was put, and what screen readers are told. One
// implementation per toolkit, chosen in CMake.

// Keeps `window` where it has been put when it is first shown: the toolkit
// would centre it on its owner, a window manager place it by its own rules.
void KeepGivenPlace(wxWindow* window);

// Screen readers call `window`, and the parts of it that take the keyboard
// focus, `name`; what the window shows stays as it is.
void SetAccessibleName(wxWindow* window, const wxString& name);

// Screen readers call the month calendar by its selected date, in the user's
// language, and hear each new date as it is selected.
void NameCalendarByDate(wxWindow* calendar);

// Controls whose own look shows the keyboard focus faintly or not at all (a
// month calendar, a multi-line text box) are framed in the selection colour
// while they have it, as text fields are.
void FrameFocusedControls(wxWindow* window);

// Takes from `control` and its parts the room that the toolkit's look adds
// around a text field's text and a check box's mark, so that they fit the
// small rectangles of a classic dialog's template.
void UseCompactLook(wxWindow* control);

// Controls that `window` holds hidden are left out of what screen readers
// see of it, so that they cannot be reached there either.
void LeaveHiddenControlsUnseen(wxWindow* window);

// Calls `onDestroyed` when another program (a kill-window tool, a crashing
// compositor) destroys `window` on the screen, rather than the program
// itself; the window object is left for the program to end.
void CallWhenDestroyedOutside(wxWindow* window, std::function<void()> onDestroyed);
