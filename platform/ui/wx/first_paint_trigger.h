// SPDX-License-Identifier: MIT
#pragma once

#include "platform/ui/first_paint_queue.h"

#include <wx/timer.h>

class wxPaintEvent;
class wxWindow;

// Tells a window's FirstPaintQueue when its first paint has reached the
// screen: once the window has been drawn and the display has caught up with
// the drawing; or a second after the first work was queued.
class FirstPaintTrigger
{
public:
    FirstPaintTrigger(wxWindow& window, FirstPaintQueue& queue);
    void Add(std::function<void()> work);

private:
    void OnPaint(wxPaintEvent& event);

    wxWindow& m_window;
    FirstPaintQueue& m_queue;
    bool m_bPaintSeen = false;
    wxTimer m_timeout;
};
