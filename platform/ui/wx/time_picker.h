// SPDX-License-Identifier: MIT
#pragma once

#include <wx/datetime.h>
#include <wx/timectrl.h>

class SpinArrows;
class wxTextCtrl;

// A time-of-day picker that remembers the date last put in, so that taking
// the value back gives that date with the time as edited. Where the toolkit
// builds the picker from a text field and spin buttons of its own, small spin
// arrows, up above down, stand in for the buttons, so that the picker fits a
// classic dialog's rectangle; the keyboard works the text field as before.
class TimePicker : public wxTimePickerCtrl
{
public:
    TimePicker(wxWindow* parent, int id, const wxPoint& pos, const wxSize& size);
    wxDateTime m_pushedDate;

protected:
    wxSize DoGetBestSize() const override;
    void DoMoveWindow(int x, int y, int width, int height) override;

private:
    void LayOutParts(wxSize size);

    wxTextCtrl* m_pText = nullptr;
    // The toolkit's spin buttons, hidden: a step of the arrows goes to them,
    // as a click on them would.
    wxWindow* m_pSpin = nullptr;
    SpinArrows* m_pArrows = nullptr;
};
