// SPDX-License-Identifier: MIT
#pragma once

#include <wx/datetime.h>
#include <wx/timectrl.h>

// A time-of-day picker that remembers the date last put in, so that taking
// the value back gives that date with the time as edited.
class TimePicker : public wxTimePickerCtrl
{
public:
    using wxTimePickerCtrl::wxTimePickerCtrl;
    wxDateTime m_pushedDate;
};
