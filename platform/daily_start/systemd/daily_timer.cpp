// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/daily_timer.h"
#include "platform/daily_start/systemd/systemd_units.h"
#include "platform/system/binary_file.h"
#include "text/utf8_path.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Crash-safe, so that systemd never reads half a unit; the temporary name
// has no unit suffix, so systemd never loads it.
bool WriteUnitFile(const fs::path& target, const std::string& text)
{
    return ReplaceFileContent(FromNativePath(target.string()), text.data(), text.size());
}

std::string ReadUnitFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The value of `key` in systemctl show's "KEY=value" lines.
std::string Property(const std::string& shown, const std::string& key)
{
    std::istringstream lines(shown);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind(key + "=", 0) == 0)
            return line.substr(key.size() + 1);
    return std::string();
}

// Whether systemd has the timer as the files on disk say, enabled and waiting.
bool TimerArmed(const std::string& timerFile, Systemctl& systemctl)
{
    const auto shown = systemctl.Output({"show", "--property=ActiveState,UnitFileState,NeedDaemonReload", timerFile});
    return shown && Property(*shown, "ActiveState") == "active" && Property(*shown, "UnitFileState") == "enabled" &&
        Property(*shown, "NeedDaemonReload") == "no";
}

} // namespace

std::optional<fs::path> ManagerUnitDirectory(Systemctl& systemctl)
{
    // The unit path starts with the user's configuration folder for units
    // made by systemctl itself, "<config>/systemd/user.control", and lists
    // "<config>/systemd/user" later.
    const auto shown = systemctl.Output({"show", "--property=UnitPath", "--value"});
    const auto words = shown ? ShownWords(shown->substr(0, shown->find('\n'))) : std::nullopt;
    const std::string control = "/systemd/user.control";
    if (!words || words->empty())
        return std::nullopt;
    const std::string& first = words->front();
    if (first.size() <= control.size() || first.front() != '/' ||
        first.compare(first.size() - control.size(), control.size(), control) != 0)
        return std::nullopt;
    const std::string dir = first.substr(0, first.size() - control.size()) + "/systemd/user";
    if (std::find(words->begin(), words->end(), dir) == words->end())
        return std::nullopt;
    return fs::path(dir);
}

namespace {

// The three units of one program's daily start, each named and written once.
struct DailyUnits
{
    fs::path timerFile, startFile, serviceFile;
    std::string timer, start, service;
    // The timer without waking, made only when needed.
    std::optional<std::string> timerNoWake;
};

const std::string& TimerNoWake(DailyUnits& units, const std::string& path, const SYSTEMTIME& first)
{
    if (!units.timerNoWake)
        units.timerNoWake = SystemdTimerUnit(path, first, TimerWake::NoWake);
    return *units.timerNoWake;
}

// Whether the units on disk already say what `units` do, with or without
// waking.
bool UnitsOnDisk(DailyUnits& units, const std::string& path, const SYSTEMTIME& first)
{
    const std::string timer = ReadUnitFile(units.timerFile);
    return ReadUnitFile(units.serviceFile) == units.service && ReadUnitFile(units.startFile) == units.start &&
        (timer == units.timer || timer == TimerNoWake(units, path, first));
}

} // namespace

std::string StartDailyTimer(const std::string& path, const SYSTEMTIME& first, const fs::path& dir, Systemctl& systemctl)
{
    const auto service = SystemdServiceUnit(path);
    if (!service)
        return "its path cannot be named to systemd";
    DailyUnits units{dir / SystemdTimerFile(path), dir / SystemdStartFile(path), dir / SystemdServiceFile(path),
        SystemdTimerUnit(path, first, TimerWake::WakeSystem), SystemdStartUnit(path), *service, std::nullopt};
    const bool same = UnitsOnDisk(units, path, first);
    const std::string timerName = units.timerFile.filename().string();
    // Every start of the program schedules again; with nothing changed,
    // writing and reloading would only reset the manager's count of failed
    // starts.
    if (same && TimerArmed(timerName, systemctl))
        return std::string();
    if (!same) {
        std::error_code ignored;
        fs::create_directories(dir, ignored);
        if (!WriteUnitFile(units.serviceFile, units.service) || !WriteUnitFile(units.startFile, units.start) ||
            !WriteUnitFile(units.timerFile, units.timer))
            return "cannot write the timer in " + dir.string();
        if (!systemctl.Run({"daemon-reload"}))
            return systemctl.Failure();
        // A new time of day: the last start kept for Persistent= would have
        // systemd make up at once for a start that time never had.
        systemctl.Run({"stop", timerName});
        systemctl.Run({"clean", "--what=state", timerName});
    } else {
        systemctl.Run({"daemon-reload"});
    }
    systemctl.Run({"enable", timerName});
    systemctl.Run({"start", timerName});
    // Before systemd 254 the user manager may not set wake-up alarms, and the
    // timer fails with result "resources"; a start without waking is better
    // than none at all.
    if (systemctl.Run({"is-failed", timerName}) && WriteUnitFile(units.timerFile, TimerNoWake(units, path, first)) &&
        systemctl.Run({"daemon-reload"}))
        systemctl.Run({"restart", timerName});
    return std::string();
}

DailyStartRemoval StopDailyTimer(const std::string& path, const fs::path& dir, Systemctl& systemctl)
{
    const std::string timerFile = SystemdTimerFile(path);
    const fs::path files[] = {dir / timerFile, dir / SystemdStartFile(path), dir / SystemdServiceFile(path)};
    std::error_code error;
    if (std::none_of(std::begin(files), std::end(files), [&](const fs::path& f) { return fs::exists(f, error); }))
        return {};
    if (!systemctl.Run({"disable", "--now", timerFile}))
        return {true, systemctl.Failure()};
    // Forgets the last start time kept for Persistent=, which would otherwise
    // outlive the timer.
    systemctl.Run({"clean", "--what=state", timerFile});
    for (const fs::path& file : files)
        fs::remove(file, error);
    const fs::path link = dir / "timers.target.wants" / timerFile;
    if (fs::is_symlink(link, error))
        fs::remove(link, error);
    systemctl.Run({"daemon-reload"});
    return {true, fs::exists(files[0], error) ? "cannot remove " + files[0].string() : std::string()};
}
