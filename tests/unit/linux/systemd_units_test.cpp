// SPDX-License-Identifier: MIT
#include "platform/daily_start/systemd/systemd_units.h"
#include "scoped_env.h"
#include "service_doubles.h"
#include "shell.h"
#include "temp_dir.h"
#include "time_zone.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool HasLine(const std::string& text, const std::string& line)
{
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// Writes the units of a booking for `program` and has systemd-analyze check
// them.
std::pair<int, std::string> Verify(const TempDir& dir, const fs::path& program)
{
    const fs::path units = dir / "verify";
    fs::create_directories(units);
    fs::create_directories(dir / "runtime");
    const std::string& path = program.native();
    std::ofstream(units / SystemdServiceFile(path), std::ios::binary) << *SystemdServiceUnit(path);
    std::ofstream(units / SystemdStartFile(path), std::ios::binary) << SystemdStartUnit(path);
    std::ofstream(units / SystemdTimerFile(path), std::ios::binary)
        << SystemdTimerUnit(path, At(2031, 2, 3, 4, 5, 6), TimerWake::WakeSystem);
    std::string command =
        "XDG_RUNTIME_DIR=" + ShellQuoted((dir / "runtime").native()) + " systemd-analyze --user verify";
    for (const std::string& file : {SystemdTimerFile(path), SystemdStartFile(path), SystemdServiceFile(path)})
        command += " " + ShellQuoted((units / file).native());
    return Shell(command);
}

TEST(SystemdUnitsTest, NamesAreStablePerPathAndDistinctAcrossPaths)
{
    const std::string name = SystemdUnitName("/opt/velmora/talvik");
    EXPECT_EQ(name, SystemdUnitName("/opt/velmora/talvik"));
    EXPECT_TRUE(name.size() == 23 && name.rfind("talvik-", 0) == 0 &&
        name.find_first_not_of("0123456789abcdef", 7) == std::string::npos)
        << name;
    std::set<std::string> names;
    for (int i = 0; i < 20000; ++i)
        names.insert(SystemdUnitName("/home/u/bin" + std::to_string(i) + "/talvik"));
    EXPECT_EQ(names.size(), 20000u);
}

TEST(SystemdUnitsTest, SystemdStartsExactlyTheAwkwardPath)
{
    // systemd-analyze fails when the unquoted ExecStart= names no executable.
    TempDir dir;
    for (const std::string& folder : std::vector<std::string>{"with space", "100%y %n done", "cost $HOME $$",
             "semi ; colon;", "Ünïcödé ✓", "raw \xff\xfe byte", "star * ?[a]", "o'brien"}) {
        const fs::path program = dir / folder / "talvik";
        WriteExecutable(program, "#!/bin/sh\n");
        const auto [status, out] = Verify(dir, program);
        EXPECT_EQ(status, 0) << folder << "\n" << out;
        EXPECT_EQ(out, "") << folder;
    }
    const auto service = SystemdServiceUnit("/opt/a b/%n $HOME;\xff/talvik");
    EXPECT_TRUE(HasLine(*service, "ExecStart=\":/opt/a b/%%n $HOME;\\xff/talvik\"")) << *service;
    EXPECT_TRUE(HasLine(*service, "Description=Velmora daily reading (start of /opt/a b/%%n $HOME;\uFFFD/talvik)"));
}

TEST(SystemdUnitsTest, QuotesAndBackslashesAreStartedThroughTheShell)
{
    TempDir dir;
    const fs::path program = dir / "it's \"q\" back\\slash" / "talvik";
    WriteExecutable(program, "#!/bin/sh\ntouch \"$(dirname \"$0\")/ran\"\n");
    const auto [status, out] = Verify(dir, program);
    EXPECT_EQ(status, 0) << out;
    EXPECT_EQ(out, "");
    const std::string folder = dir.Path().native() + "/it's \\\"q\\\" back\\\\slash";
    EXPECT_TRUE(HasLine(*SystemdServiceUnit(program.native()),
        "ExecStart=\":/bin/sh\" -c \"exec \\\"$0\\\"\" \"" + folder + "/talvik\""));
    // The words systemd passes on, run as it would run them.
    EXPECT_EQ(Shell("/bin/sh -c 'exec \"$0\"' " + ShellQuoted(program.native())).first, 0);
    EXPECT_TRUE(fs::exists(program.parent_path() / "ran"));
}

// The next start the timer makes after `base`, as systemd computes it for
// each of its OnCalendar= lines: "YYYY-MM-DD HH:MM:SS" local time, or "never".
std::string NextStart(const std::string& timer, const std::string& base)
{
    std::string command = "systemd-analyze calendar --base-time=" + ShellQuoted(base);
    std::istringstream lines(timer);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("OnCalendar=", 0) == 0)
            command += " " + ShellQuoted(line.substr(11));
    const auto [status, out] = Shell(command);
    EXPECT_EQ(status, 0) << out;
    std::string next = "never";
    std::istringstream report(out);
    for (std::string line; std::getline(report, line);) {
        const auto at = line.find("Next elapse: ");
        // "Next elapse: Sun 2027-03-28 03:00:00 CEST": the date and time.
        if (at != std::string::npos && line.find("never") == std::string::npos) {
            const std::string when = line.substr(at + 17, 19);
            next = next == "never" ? when : std::min(next, when);
        }
    }
    return next;
}

std::string Timer(const SYSTEMTIME& first)
{
    return SystemdTimerUnit("/opt/velmora/talvik", first, TimerWake::WakeSystem);
}

TEST(SystemdUnitsTest, TimerStartsEveryDayAtTheTimeOfDayOfTheProgramsZone)
{
    // The user manager reads the timer in its own zone, here UTC. The timer
    // names the zone whose rules the program's clock uses, in a form systemd
    // reads and only where systemd finds those rules under that name;
    // otherwise the time stands converted to UTC.
    TempDir copied; // Paris's rules under Tokyo's name
    fs::create_directories(copied / "zoneinfo" / "Asia");
    fs::copy_file("/usr/share/zoneinfo/Europe/Paris", copied / "zoneinfo" / "Asia" / "Tokyo");
    struct Case
    {
        std::string tz;
        std::optional<std::string> tzdir;
        std::string line;
        std::string next; // after 2031-02-02 23:59:59 UTC
    };
    for (const Case& c : {
             Case{"Asia/Tokyo", {}, "OnCalendar=*-*-* 07:30:00 Asia/Tokyo", "2031-02-03 22:30:00"},
             Case{":Europe/Berlin", {}, "OnCalendar=*-*-* 07:30:00 Europe/Berlin", "2031-02-03 06:30:00"},
             Case{"/usr/share/zoneinfo/America/New_York", {}, "OnCalendar=*-*-* 07:30:00 America/New_York",
                 "2031-02-03 12:30:00"},
             Case{"Europe//Paris", {}, "OnCalendar=*-*-* 07:30:00 Europe/Paris", "2031-02-03 06:30:00"},
             Case{"", {}, "OnCalendar=*-*-* 07:30:00 UTC", "2031-02-03 07:30:00"},
             Case{"JST-9", {}, "OnCalendar=*-*-* 22:30:00 UTC", "2031-02-03 22:30:00"},
             // No such file: the clock runs on UTC.
             Case{"/nonexistent/zoneinfo/Asia/Tokyo", {}, "OnCalendar=*-*-* 07:30:00 UTC", "2031-02-03 07:30:00"},
             // The clock runs on Paris's rules, which Asia/Tokyo is not.
             Case{(copied / "zoneinfo" / "Asia" / "Tokyo").native(), {}, "OnCalendar=*-*-* 06:30:00 UTC",
                 "2031-02-03 06:30:00"},
             Case{"Asia/Tokyo", (copied / "zoneinfo").native(), "OnCalendar=*-*-* 06:30:00 UTC", "2031-02-03 06:30:00"},
         }) {
        std::string timer;
        {
            ScopedEnv tzdir("TZDIR", c.tzdir);
            ScopedTimeZone zone(c.tz.c_str());
            timer = Timer(At(2031, 2, 3, 7, 30, 0));
        }
        ScopedTimeZone manager("UTC");
        EXPECT_TRUE(HasLine(timer, c.line)) << c.tz << "\n" << timer;
        EXPECT_EQ(NextStart(timer, "2031-02-02 23:59:59"), c.next) << c.tz;
    }
    ScopedTimeZone zone("UTC");
    const std::string timer = Timer(At(2031, 2, 3, 4, 5, 6));
    for (const char* line : {"AccuracySec=1s", "Persistent=true", "WakeSystem=yes", "WantedBy=timers.target"})
        EXPECT_TRUE(HasLine(timer, line)) << line << "\n" << timer;
    EXPECT_EQ(Timer(At(2031, 2, 4, 4, 5, 6)), timer) << "the next day's booking is the same unit";
    EXPECT_EQ(SystemdTimerUnit("/opt/velmora/talvik", At(2031, 2, 3, 4, 5, 6), TimerWake::NoWake).find("WakeSystem"),
        std::string::npos);
}

TEST(SystemdUnitsTest, AWrongClockStillBooksTheNextDayByTheRightOne)
{
    // systemd's calendar names 1970 to 2199; a clock outside it, or just far
    // off, must still give a timer systemd reads whole.
    ScopedTimeZone zone("Europe/Berlin");
    for (const SYSTEMTIME& first : {At(1601, 1, 1, 8, 0), At(1969, 12, 31, 8, 0), At(2028, 1, 10, 8, 0),
             At(2199, 12, 31, 8, 0), At(2200, 3, 1, 8, 0), At(9999, 12, 31, 8, 0)}) {
        const std::string timer = Timer(first);
        std::istringstream lines(timer);
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("OnCalendar=", 0) == 0) {
                const auto [status, out] = Shell("systemd-analyze calendar " + ShellQuoted(line.substr(11)));
                EXPECT_EQ(status, 0) << first.wYear << ": " << line << "\n" << out;
            }
        }
        EXPECT_EQ(NextStart(timer, "2026-12-07 09:15:00"), "2026-12-08 08:00:00") << first.wYear << "\n" << timer;
    }
}

TEST(SystemdUnitsTest, ATimeTheClocksSkipStartsAtTheFirstMomentAfterIt)
{
    struct Case
    {
        const char* zone;
        SYSTEMTIME first; // the day before the clocks skip its time of day
        const char* skippedDayStart;
        const char* dayAfter;
    };
    for (const Case& c : {
             Case{"Europe/Berlin", At(2027, 3, 27, 2, 30), "2027-03-28 03:00:00", "2027-03-29 02:30:00"},
             Case{"America/New_York", At(2027, 3, 13, 2, 30), "2027-03-14 03:00:00", "2027-03-15 02:30:00"},
             Case{"Australia/Lord_Howe", At(2027, 10, 2, 2, 15), "2027-10-03 02:30:00", "2027-10-04 02:15:00"},
             Case{"Pacific/Apia", At(2011, 12, 29, 8, 0), "2011-12-31 00:00:00", "2011-12-31 08:00:00"},
         }) {
        ScopedTimeZone zone(c.zone);
        const std::string timer = Timer(c.first);
        const std::string skippedDay = c.skippedDayStart;
        EXPECT_EQ(NextStart(timer, DateTimeText(c.first).substr(0, 19)), skippedDay) << c.zone << "\n" << timer;
        EXPECT_EQ(NextStart(timer, skippedDay), c.dayAfter) << c.zone;
        EXPECT_TRUE(HasLine(timer, "OnCalendar=" + skippedDay + " " + c.zone)) << timer;
    }
}

} // namespace
