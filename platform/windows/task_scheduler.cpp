// SPDX-License-Identifier: MIT
#include "platform/windows/task_scheduler.h"
#include "platform/task_xml.h"
#include "platform/windows/task_service.h"

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

// The one background thread that talks to the Task Scheduler, so that its
// service, which may take seconds to answer, never holds a window up.
// Requests wait in a map by path, so a newer request for a path replaces the
// one not yet started.
class SchedulingThread
{
public:
    static SchedulingThread& Get()
    {
        static SchedulingThread worker;
        return worker;
    }

    ~SchedulingThread()
    {
        std::unique_lock lock(m_state->mutex);
        m_state->stopping = true;
        const bool idle = m_state->pending.empty() && !m_state->busy;
        lock.unlock();
        m_state->wake.notify_all();
        // Work still under way is left to finish while the process ends; the
        // thread holds its own share of the state.
        if (m_thread.joinable()) {
            if (idle)
                m_thread.join();
            else
                m_thread.detach();
        }
    }

    void Submit(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_thread.joinable()) {
            try {
                m_thread = std::thread(Run, m_state);
            } catch (const std::system_error&) {
                return; // no thread to spare: the booking is dropped, the program goes on
            }
        }
        m_state->pending.insert_or_assign(app, time);
        m_state->wake.notify_all();
    }

    bool WaitIdle(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_state->mutex);
        return m_state->idle.wait_for(lock, timeout, [&] { return m_state->pending.empty() && !m_state->busy; });
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable idle;
        std::map<std::wstring, std::optional<SYSTEMTIME>> pending;
        bool busy = false;
        bool stopping = false;
    };

    static void Run(std::shared_ptr<State> state)
    {
        const ComApartment com;
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

            // The program reports no failure of its booking; the next start
            // books again.
            if (com.Failure().empty())
                (void)TaskSchedulerBookNow(app, time);

            lock.lock();
            state->busy = false;
            if (state->pending.empty())
                state->idle.notify_all();
        }
    }

    std::shared_ptr<State> m_state = std::make_shared<State>();
    std::thread m_thread;
};

} // namespace

void TaskSchedulerRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    SchedulingThread::Get().Submit(app, time);
}

bool WaitForScheduledStarts(std::chrono::milliseconds timeout)
{
    return SchedulingThread::Get().WaitIdle(timeout);
}

std::string TaskSchedulerBookNow(const std::wstring& app, const std::optional<SYSTEMTIME>& time, bool* pbWasBooked)
{
    if (!TaskCanStart(app))
        return "the Task Scheduler cannot start a program at this path";
    const std::wstring user = CurrentUserSid();
    if (user.empty())
        return "the user's account cannot be read";
    const std::wstring name = TaskName(user, app);
    if (!time)
        return DeleteTask(name, pbWasBooked);
    const std::optional<std::wstring> xml = TaskXml(user, app, *time);
    if (!xml)
        return "the Task Scheduler cannot start the program at that time";
    return RegisterTask(name, *xml);
}
