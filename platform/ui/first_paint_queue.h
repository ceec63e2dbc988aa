// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <vector>

// Work that waits for a window's first paint to reach the screen, so that it
// does not take the processor from it. The window library tells the queue
// when that has happened, when a second has passed for a shown window that
// is never drawn, and when the window ends.
class FirstPaintQueue
{
public:
    // Runs `work` at once when the wait is over or the window is not shown
    // (a hidden window is not drawn); else queues it. True for the first work
    // queued: the window library then starts its one-second timer.
    bool Add(std::function<void()> work, bool bShown);
    // Ends the wait: runs the work queued, and work that it queues in turn;
    // later work runs at once.
    void RunAll();
    bool Done() const { return m_bDone; }

private:
    bool m_bDone = false;
    std::vector<std::function<void()>> m_work;
};
