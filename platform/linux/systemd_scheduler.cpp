// SPDX-License-Identifier: MIT
#include "platform/linux/systemd_scheduler.h"
#include "platform/folders.h"
#include "platform/linux/daily_timer.h"
#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"
#include "platform/replaceable_program.h"
#include "platform/scheduling_thread.h"

#include <algorithm>
#include <memory>
#include <mutex>
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

// Where the bookings go and how systemctl runs: shared with the scheduling
// thread, which may finish its work after the program has let it go.
class SharedOptions
{
public:
    void Set(const SystemdSchedulerOptions& options)
    {
        std::lock_guard lock(m_mutex);
        m_options = options;
    }
    SystemdSchedulerOptions Get()
    {
        std::lock_guard lock(m_mutex);
        return m_options;
    }

private:
    std::mutex m_mutex;
    SystemdSchedulerOptions m_options;
};

std::shared_ptr<SharedOptions> Options()
{
    static const auto options = std::make_shared<SharedOptions>();
    return options;
}

void Book(const std::string& path, const std::optional<SYSTEMTIME>& time, const SystemdSchedulerOptions& options)
{
    // Checked again here, as the folders may have changed since.
    const bool bBook = time && WhyOthersCanReplaceProgram(FromNativePath(path)).empty();
    const auto dir = UnitDirectory(options, !bBook);
    Systemctl systemctl(options.systemctl, options.commandTimeout);
    if (dir)
        bBook ? StartDailyTimer(path, *time, *dir, systemctl) : (void)StopDailyTimer(path, *dir, systemctl);
}

SchedulingThread& Scheduler()
{
    static SchedulingThread thread(
        [options = Options()](const std::wstring& app, const std::optional<SYSTEMTIME>& time) {
            Book(ToNativePath(app), time, options->Get());
        });
    return thread;
}

} // namespace

void SetSystemdSchedulerOptions(const SystemdSchedulerOptions& options)
{
    Options()->Set(options);
}

void SystemdRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    const std::string path = ToNativePath(app);
    if (!SystemdCanBook(path) || (time && !IsValidLocalTime(*time)))
        return;
    Scheduler().Submit(app, time);
}

bool WaitForScheduledStarts(std::chrono::milliseconds timeout)
{
    return Scheduler().WaitIdle(timeout);
}

std::wstring SystemdWhyCannotBook(const std::wstring& app)
{
    if (!SystemdCanBook(ToNativePath(app)))
        return L"its path " + app + L" cannot be named to systemd";
    if (const std::wstring why = WhyOthersCanReplaceProgram(app); !why.empty())
        return why + L", so another user could replace the program";
    // The user waits for this answer: a manager that takes longer than a
    // moment counts as not answering.
    SystemdSchedulerOptions options = Options()->Get();
    options.commandTimeout = std::min(options.commandTimeout, std::chrono::milliseconds(2000));
    if (!UnitDirectory(options, false))
        return L"the systemd user manager (systemctl --user) does not answer";
    return std::wstring();
}

DailyTimerRemoval SystemdRemoveStartNow(const std::wstring& app)
{
    const std::string path = ToNativePath(app);
    const SystemdSchedulerOptions options = Options()->Get();
    const auto dir = UnitDirectory(options, true);
    if (!SystemdCanBook(path) || !dir)
        return {};
    Systemctl systemctl(options.systemctl, options.commandTimeout);
    return StopDailyTimer(path, *dir, systemctl);
}
