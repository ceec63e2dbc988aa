// SPDX-License-Identifier: MIT
#pragma once

#include <wx/timer.h>
#include <wx/window.h>

#include <functional>

// A pair of small spin arrows, up above down, as a classic dialog's time
// picker has them beside its text. A click steps once (+1 up, -1 down) and
// holding the button down steps again and again; the arrows never take the
// keyboard focus.
class SpinArrows : public wxWindow
{
public:
    SpinArrows(wxWindow* parent, std::function<void(int)> onStep);
    bool AcceptsFocus() const override { return false; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnRepeat(wxTimerEvent& event);
    void Release();

    std::function<void(int)> m_onStep;
    int m_nPressed = 0; // the step of the arrow held down, 0 for none
    wxTimer m_repeat;
};
