// SPDX-License-Identifier: MIT
#include "platform/ui/wx/first_paint_trigger.h"

#include <wx/window.h>

#include <utility>

FirstPaintTrigger::FirstPaintTrigger(wxWindow& window, FirstPaintQueue& queue)
    : m_window(window)
    , m_queue(queue)
    , m_timeout(&window)
{
    m_window.Bind(wxEVT_PAINT, &FirstPaintTrigger::OnPaint, this);
    m_window.Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { m_queue.RunAll(); }, m_timeout.GetId());
}

void FirstPaintTrigger::Add(std::function<void()> work)
{
    if (m_queue.Add(std::move(work), m_window.IsShown()))
        m_timeout.StartOnce(1000);
}

void FirstPaintTrigger::OnPaint(wxPaintEvent& event)
{
    event.Skip();
    if (m_bPaintSeen)
        return;
    m_bPaintSeen = true;
    // The toolkit finishes the frame and sends it before it is idle again;
    // Update then waits until the display has drawn it (a round trip to the
    // X server on GTK).
    m_window.CallAfter([this] {
        m_window.Update();
        m_timeout.Stop();
        m_queue.RunAll();
    });
}
