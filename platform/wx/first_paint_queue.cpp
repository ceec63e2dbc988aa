// SPDX-License-Identifier: MIT
#include "platform/wx/first_paint_queue.h"

#include <wx/window.h>

#include <utility>

FirstPaintQueue::FirstPaintQueue(wxWindow& window)
    : m_window(window)
    , m_timeout(&window)
{
    m_window.Bind(wxEVT_PAINT, &FirstPaintQueue::OnPaint, this);
    m_window.Bind(
        wxEVT_TIMER, [this](wxTimerEvent&) { RunAll(); }, m_timeout.GetId());
}

void FirstPaintQueue::Add(std::function<void()> work)
{
    if (m_bPainted || !m_window.IsShown()) {
        work();
        return;
    }
    m_work.push_back(std::move(work));
    if (!m_timeout.IsRunning())
        m_timeout.StartOnce(1000);
}

void FirstPaintQueue::OnPaint(wxPaintEvent& event)
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
        m_bPainted = true;
        RunAll();
    });
}

void FirstPaintQueue::RunAll()
{
    m_timeout.Stop();
    for (const auto& work : std::exchange(m_work, {}))
        work();
}
