// SPDX-License-Identifier: MIT
#include "platform/ui/first_paint_queue.h"

#include <utility>

bool FirstPaintQueue::Add(std::function<void()> work, bool bShown)
{
    if (m_bDone || !bShown) {
        work();
        return false;
    }
    m_work.push_back(std::move(work));
    return m_work.size() == 1;
}

void FirstPaintQueue::RunAll()
{
    m_bDone = true;
    while (!m_work.empty())
        for (const auto& work : std::exchange(m_work, {}))
            work();
}
