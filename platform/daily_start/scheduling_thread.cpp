// SPDX-License-Identifier: MIT
#include "platform/daily_start/scheduling_thread.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>

// Shared with the thread, which holds its own share, so that nothing it uses
// goes away while it finishes after the program has let it go.
struct SchedulingThread::State
{
    explicit State(Request carryOutFunction)
        : carryOut(std::move(carryOutFunction))
    { }
    const Request carryOut;
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::map<std::wstring, std::optional<SYSTEMTIME>> pending;
    bool busy = false;
    bool stopping = false;
};

SchedulingThread::SchedulingThread(Request carryOut)
    : m_state(std::make_shared<State>(std::move(carryOut)))
{ }

SchedulingThread::~SchedulingThread()
{
    std::unique_lock lock(m_state->mutex);
    m_state->stopping = true;
    const bool idle = m_state->pending.empty() && !m_state->busy;
    lock.unlock();
    m_state->wake.notify_all();
    if (m_thread.joinable()) {
        if (idle)
            m_thread.join();
        else
            m_thread.detach();
    }
}

void SchedulingThread::Submit(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    std::lock_guard lock(m_state->mutex);
    if (!m_thread.joinable()) {
        try {
            m_thread = std::thread(Run, m_state);
        } catch (const std::system_error&) {
            return; // no thread to spare: the request is dropped, the program goes on
        }
    }
    m_state->pending.insert_or_assign(app, time);
    m_state->wake.notify_all();
}

bool SchedulingThread::WaitIdle(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(m_state->mutex);
    return m_state->idle.wait_for(lock, timeout, [&] { return m_state->pending.empty() && !m_state->busy; });
}

void SchedulingThread::Run(std::shared_ptr<State> state)
{
    std::unique_lock lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] { return state->stopping || !state->pending.empty(); });
        if (state->pending.empty())
            return;
        const auto next = state->pending.begin();
        const std::wstring app = next->first;
        const std::optional<SYSTEMTIME> time = next->second;
        state->pending.erase(next);
        state->busy = true;
        lock.unlock();

        state->carryOut(app, time);

        lock.lock();
        state->busy = false;
        if (state->pending.empty())
            state->idle.notify_all();
    }
}
