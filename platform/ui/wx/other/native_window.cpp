// SPDX-License-Identifier: MIT
#include "platform/ui/wx/native_window.h"

// Toolkits other than GTK place windows where they are put and name their
// controls for screen readers themselves.

void KeepGivenPlace(wxWindow*)
{ }

void SetAccessibleName(wxWindow*, const wxString&)
{ }

void NameCalendarByDate(wxWindow*)
{ }

void LeaveHiddenControlsUnseen(wxWindow*)
{ }

void FrameFocusedControls(wxWindow*)
{ }

void UseCompactLook(wxWindow*)
{ }

void CallWhenDestroyedOutside(wxWindow*, std::function<void()>)
{ }
