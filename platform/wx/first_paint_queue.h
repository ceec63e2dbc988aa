// SPDX-License-Identifier: MIT
#pragma once

#include <wx/timer.h>

#include <functional>
#include <vector>

class wxPaintEvent;
class wxWindow;

// Work that waits for a window's first paint to reach the screen, so that it
// does not take the processor from it: once the window has been drawn and
// the display has caught up with the drawing.
class FirstPaintQueue
{
public:
    explicit FirstPaintQueue(wxWindow& window);

    // Queues `work`, or runs it at once when the first paint is over or the
    // window is not shown (a hidden window is not drawn). Work waits a second
    // at most for a shown window that is never drawn.
    void Add(std::function<void()> work);
    // Runs the work still waiting, as when the window ends.
    void RunAll();

private:
    void OnPaint(wxPaintEvent& event);

    wxWindow& m_window;
    bool m_bPaintSeen = false;
    bool m_bPainted = false;
    std::vector<std::function<void()>> m_work;
    wxTimer m_timeout;
};
