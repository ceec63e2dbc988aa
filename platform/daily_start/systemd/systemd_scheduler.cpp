// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/systemd_scheduler.h"
#include "platform/daily_start/daily_start.h"
#include "platform/daily_start/replaceable_program.h"
#include "platform/daily_start/systemd/daily_timer.h"
#include "platform/daily_start/systemd/systemd_units.h"
#include "platform/system/folders.h"
#include "text/utf8_path.h"
#include "text/wide_string.h"

#include <algorithm>
#include <mutex>
#include <optional>

namespace {

namespace fs = std::filesystem;

const char kNoManager[] = "the systemd user manager (systemctl --user) does not answer";

// Where the timers go: the folder set for tests, else the one the user
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

// The options, shared with the scheduling thread, which may still finish a
// request while the program ends: they are never destroyed.
struct SharedOptions
{
    std::mutex mutex;
    SystemdSchedulerOptions options;
};

SharedOptions& Shared()
{
    static auto* shared = new SharedOptions;
    return *shared;
}

SystemdSchedulerOptions Options()
{
    std::lock_guard lock(Shared().mutex);
    return Shared().options;
}

DailyStartRemoval Remove(const std::string& path, const SystemdSchedulerOptions& options)
{
    // Where no folder can hold units, none are there to remove.
    const auto dir = UnitDirectory(options, true);
    if (!dir)
        return {};
    Systemctl systemctl(options.systemctl, options.commandTimeout);
    return StopDailyTimer(path, *dir, systemctl);
}

std::string CannotName(const std::wstring& app)
{
    return "its path " + ToUtf8(app) + " cannot be named to systemd";
}

class SystemdScheduler : public DailyScheduler
{
public:
    std::string Schedule(const std::wstring& app, const SYSTEMTIME& first) override
    {
        const std::string path = ToNativePath(app);
        if (!SystemdCanStart(path))
            return CannotName(app);
        const SystemdSchedulerOptions options = Options();
        // Checked again here, as the folders may have changed since.
        if (const std::wstring why = WhyOthersCanReplaceProgram(app); !why.empty()) {
            (void)::Remove(path, options);
            return ToUtf8(why);
        }
        const auto dir = UnitDirectory(options, false);
        if (!dir)
            return kNoManager;
        Systemctl systemctl(options.systemctl, options.commandTimeout);
        return StartDailyTimer(path, first, *dir, systemctl);
    }

    DailyStartRemoval Remove(const std::wstring& app) override
    {
        const std::string path = ToNativePath(app);
        // Nothing can have been scheduled for a path that cannot be named.
        if (!SystemdCanStart(path))
            return {};
        return ::Remove(path, Options());
    }

    std::wstring WhyNot(const std::wstring& app) override
    {
        const std::string path = ToNativePath(app);
        if (!SystemdCanStart(path))
            return L"its path " + app + L" cannot be named to systemd";
        if (const std::wstring why = WhyOthersCanReplaceProgram(app); !why.empty())
            return why + L", so another user could replace the program";
        // The user waits for this answer: a manager that takes longer than a
        // moment counts as not answering.
        SystemdSchedulerOptions options = Options();
        options.commandTimeout = std::min(options.commandTimeout, std::chrono::milliseconds(2000));
        if (!UnitDirectory(options, false))
            return L"the systemd user manager (systemctl --user) does not answer";
        return std::wstring();
    }
};

} // namespace

void SetSystemdSchedulerOptions(const SystemdSchedulerOptions& options)
{
    std::lock_guard lock(Shared().mutex);
    Shared().options = options;
}

DailyScheduler& SystemScheduler()
{
    // Never destroyed, for the same reason as the options.
    static auto* scheduler = new SystemdScheduler;
    return *scheduler;
}
