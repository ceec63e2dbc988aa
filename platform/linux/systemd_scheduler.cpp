// SPDX-License-Identifier: MIT
#include "platform/linux/systemd_scheduler.h"
#include "platform/folders.h"
#include "platform/linux/daily_timer.h"
#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"
#include "platform/replaceable_program.h"

#include <algorithm>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Where the bookings go: the folder set for tests, else the one the user
// manager reads. Where the manager cannot be asked, a removal still looks
// where systemd reads by default, so that it fails for the right reason.
std::optional<fs::path> UnitDirectory(const SystemdSchedulerOptions& options, bool bForRemoval)
{
    if (!options.unitDirectory.empty())
        return options.unitDirectory;
    Systemctl systemctl(options.systemctl, options.commandTimeout);
    if (const auto dir = ManagerUnitDirectory(systemctl))
        return dir;
    const std::wstring config = UserConfigFolder();
    if (!bForRemoval || config.empty())
        return std::nullopt;
    return fs::path(ToNativePath(config)) / "systemd" / "user";
}

// The one background thread that talks to systemd. Requests wait in a map by
// path, so a newer request for a path replaces the one not yet started.
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
        // thread holds its own share of the state, so nothing it uses goes away.
        if (m_thread.joinable()) {
            if (idle)
                m_thread.join();
            else
                m_thread.detach();
        }
    }

    void Submit(const std::string& path, const std::optional<SYSTEMTIME>& time)
    {
        std::lock_guard lock(m_state->mutex);
        if (!m_thread.joinable()) {
            try {
                m_thread = std::thread(Run, m_state);
            } catch (const std::system_error&) {
                return; // no thread to spare: the booking is dropped, the program goes on
            }
        }
        m_state->pending.insert_or_assign(path, time);
        m_state->wake.notify_all();
    }

    bool WaitIdle(std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_state->mutex);
        return m_state->idle.wait_for(lock, timeout, [&] { return m_state->pending.empty() && !m_state->busy; });
    }

    void SetOptions(const SystemdSchedulerOptions& options)
    {
        std::lock_guard lock(m_state->mutex);
        m_state->options = options;
    }

    SystemdSchedulerOptions Options()
    {
        std::lock_guard lock(m_state->mutex);
        return m_state->options;
    }

private:
    struct State
    {
        std::mutex mutex;
        std::condition_variable wake;
        std::condition_variable idle;
        std::map<std::string, std::optional<SYSTEMTIME>> pending;
        bool busy = false;
        bool stopping = false;
        SystemdSchedulerOptions options;
    };

    static void Run(std::shared_ptr<State> state)
    {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->wake.wait(lock, [&] { return state->stopping || !state->pending.empty(); });
            if (state->pending.empty())
                return;
            const auto next = state->pending.begin();
            const std::string path = next->first;
            const std::optional<SYSTEMTIME> time = next->second;
            state->pending.erase(next);
            state->busy = true;
            const SystemdSchedulerOptions options = state->options;
            lock.unlock();

            // Checked again here, as the folders may have changed since.
            const bool bBook = time && WhyOthersCanReplaceProgram(FromNativePath(path)).empty();
            const auto dir = UnitDirectory(options, !bBook);
            Systemctl systemctl(options.systemctl, options.commandTimeout);
            if (dir)
                bBook ? StartDailyTimer(path, *time, *dir, systemctl) : (void)StopDailyTimer(path, *dir, systemctl);

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

void SetSystemdSchedulerOptions(const SystemdSchedulerOptions& options)
{
    SchedulingThread::Get().SetOptions(options);
}

void SystemdRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    const std::string path = ToNativePath(app);
    if (!SystemdCanBook(path) || (time && !IsValidLocalTime(*time)))
        return;
    SchedulingThread::Get().Submit(path, time);
}

bool WaitForScheduledStarts(std::chrono::milliseconds timeout)
{
    return SchedulingThread::Get().WaitIdle(timeout);
}

std::wstring SystemdWhyCannotBook(const std::wstring& app)
{
    if (!SystemdCanBook(ToNativePath(app)))
        return L"its path " + app + L" cannot be named to systemd";
    if (const std::wstring why = WhyOthersCanReplaceProgram(app); !why.empty())
        return why + L", so another user could replace the program";
    // The user waits for this answer: a manager that takes longer than a
    // moment counts as not answering.
    SystemdSchedulerOptions options = SchedulingThread::Get().Options();
    options.commandTimeout = std::min(options.commandTimeout, std::chrono::milliseconds(2000));
    if (!UnitDirectory(options, false))
        return L"the systemd user manager (systemctl --user) does not answer";
    return std::wstring();
}

DailyTimerRemoval SystemdRemoveStartNow(const std::wstring& app)
{
    const std::string path = ToNativePath(app);
    const SystemdSchedulerOptions options = SchedulingThread::Get().Options();
    const auto dir = UnitDirectory(options, true);
    if (!SystemdCanBook(path) || !dir)
        return {};
    Systemctl systemctl(options.systemctl, options.commandTimeout);
    return StopDailyTimer(path, *dir, systemctl);
}
