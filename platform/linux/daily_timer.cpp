// SPDX-License-Identifier: MIT
#include "platform/linux/daily_timer.h"
#include "platform/binary_file.h"
#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"

#include <algorithm>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Crash-safe, so that systemd never reads half a unit; the temporary name
// has no unit suffix, so systemd never loads it.
bool WriteUnitFile(const fs::path& target, const std::string& text)
{
    return ReplaceFileContent(FromNativePath(target.string()), text.data(), text.size());
}

} // namespace

void StartDailyTimer(const std::string& path, const SYSTEMTIME& first, const fs::path& dir, Systemctl& systemctl)
{
    const auto service = SystemdServiceUnit(path);
    const auto timer = SystemdTimerUnit(path, first, TimerWake::WakeSystem);
    if (!service || !timer)
        return;
    const std::string timerFile = SystemdTimerFile(path);
    std::error_code ignored;
    fs::create_directories(dir, ignored);
    if (!WriteUnitFile(dir / SystemdServiceFile(path), *service) ||
        !WriteUnitFile(dir / SystemdStartFile(path), SystemdStartUnit(path)) ||
        !WriteUnitFile(dir / timerFile, *timer) || !systemctl.Run({"daemon-reload"}))
        return;
    // A restart, not a start: a timer already waiting keeps its old times
    // until it is started anew.
    systemctl.Run({"enable", timerFile});
    systemctl.Run({"restart", timerFile});
    // Before systemd 254 the user manager may not set wake-up alarms, and the
    // timer fails with result "resources"; booked without waking is better
    // than not booked at all.
    if (systemctl.Run({"is-failed", timerFile}) &&
        WriteUnitFile(dir / timerFile, *SystemdTimerUnit(path, first, TimerWake::NoWake)) &&
        systemctl.Run({"daemon-reload"}))
        systemctl.Run({"restart", timerFile});
}

std::string StopDailyTimer(const std::string& path, const fs::path& dir, Systemctl& systemctl)
{
    const std::string timerFile = SystemdTimerFile(path);
    const fs::path files[] = {dir / timerFile, dir / SystemdStartFile(path), dir / SystemdServiceFile(path)};
    std::error_code error;
    if (std::none_of(std::begin(files), std::end(files), [&](const fs::path& f) { return fs::exists(f, error); }))
        return std::string();
    if (!systemctl.Run({"disable", "--now", timerFile}))
        return systemctl.Failure();
    // Forgets the last start time kept for Persistent=, which would otherwise
    // outlive the timer.
    systemctl.Run({"clean", "--what=state", timerFile});
    for (const fs::path& file : files)
        fs::remove(file, error);
    const fs::path link = dir / "timers.target.wants" / timerFile;
    if (fs::is_symlink(link, error))
        fs::remove(link, error);
    systemctl.Run({"daemon-reload"});
    return fs::exists(files[0], error) ? "cannot remove " + files[0].string() : std::string();
}
