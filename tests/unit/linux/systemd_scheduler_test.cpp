// SPDX-License-Identifier: MIT
#include "platform/daily_start/daily_start.h"
#include "platform/daily_start/systemd/systemd_scheduler.h"
#include "platform/daily_start/systemd/systemd_units.h"
#include "scoped_env.h"
#include "service_doubles.h"
#include "shell.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <thread>
#include <vector>

// Bookings against a stand-in systemctl that logs its arguments; the real
// user manager is met in tests/e2e/daily_start_*.sh.

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kBound = 10s; // far beyond any booking here; a hang fails instead of blocking

bool HasLine(const std::string& text, const std::string& line)
{
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

// Bookings made through the background worker against a stand-in systemctl
// found on PATH, whose user manager reads units from a folder whose name
// systemctl prints quoted. Files in its folder switch on failures: "hang" (sleeps a
// minute) and "no-wake-alarm" (timers with WakeSystem=yes fail to arm).
class SystemdSchedulerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FinishBackgroundWork(kBound));
        const std::string d = m_dir.Path().native(), units = m_units.native();
        WriteExecutable(m_dir / "bin" / "systemctl",
            "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + d +
                "/log'\n"
                "if [ -e '" +
                d + "/hang' ]; then echo $$ > '" + d +
                "/pid'; exec sleep 60; fi\n"
                "[ -e '" +
                d +
                "/fail' ] && exit 1\n"
                "case \"$*\" in *UnitPath*) printf '%s\\n' '\"" +
                d + "/the \\\"manager\\\" \\\\ folder/systemd/user.control\" /etc/systemd/user \"" + d +
                "/the \\\"manager\\\" \\\\ folder/systemd/user\"'; exit 0 ;; esac\n"
                "[ \"$2\" = show ] && [ -e '" +
                d +
                "/armed' ] && printf 'ActiveState=active\\nUnitFileState=enabled\\nNeedDaemonReload=no\\n'\n"
                "[ \"$2\" != is-failed ] && exit 0\n[ -e '" +
                d +
                "/no-wake-alarm' ] || exit 1\n"
                "grep -qx WakeSystem=yes '" +
                units + "'/\"$3\"\n");
        WriteExecutable(m_app, "#!/bin/sh\n");
        const char* path = std::getenv("PATH");
        m_path.emplace("PATH", (m_dir / "bin").native() + ":" + (path ? path : "/usr/bin:/bin"));
        SetSystemdSchedulerOptions({m_units, "systemctl", 2s});
    }
    void TearDown() override
    {
        EXPECT_TRUE(FinishBackgroundWork(kBound));
        m_path.reset();
        SetSystemdSchedulerOptions({});
    }

    bool Book(const std::optional<SYSTEMTIME>& time)
    {
        RunAppAtTimeInBackground(FromNativePath(m_app), time);
        return FinishBackgroundWork(kBound);
    }
    std::vector<std::string> Calls() const
    {
        std::vector<std::string> calls;
        std::istringstream log(m_dir.Read("log"));
        for (std::string line; std::getline(log, line);)
            calls.push_back(line);
        return calls;
    }
    std::string Timer() const { return m_dir.Read("units/" + m_name + ".timer"); }

    TempDir m_dir;
    const fs::path m_units = m_dir / "units";
    const fs::path m_managerUnits = m_dir / "the \"manager\" \\ folder" / "systemd" / "user";
    const std::string m_app = (m_dir / "my apps" / "talvik").native();
    const std::string m_name = SystemdUnitName(m_app);
    std::optional<ScopedEnv> m_path; // the stand-in systemctl first on PATH
};

TEST_F(SystemdSchedulerTest, BookingWritesTheUnitsAndArmsTheTimer)
{
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_EQ(m_dir.Read("units/" + m_name + ".service"), *SystemdServiceUnit(m_app));
    EXPECT_EQ(m_dir.Read("units/" + m_name + "-start.service"), SystemdStartUnit(m_app));
    EXPECT_TRUE(HasLine(Timer(), "OnCalendar=*-*-* 04:05:06 UTC"));
    EXPECT_TRUE(HasLine(Timer(), "WakeSystem=yes"));
    const std::string timer = m_name + ".timer";
    EXPECT_EQ(Calls(),
        (std::vector<std::string>{"--user daemon-reload", "--user stop " + timer, "--user clean --what=state " + timer,
            "--user enable " + timer, "--user start " + timer, "--user is-failed " + timer}));

    // Every start books again: with nothing changed and the timer armed,
    // systemd is only asked whether it is; otherwise it is armed again.
    const auto written = fs::last_write_time(m_units / timer);
    m_dir.Write("log", "");
    m_dir.Write("armed", "");
    ASSERT_TRUE(Book(At(2031, 2, 4, 4, 5, 6)));
    const std::string show = "--user show --property=ActiveState,UnitFileState,NeedDaemonReload " + timer;
    EXPECT_EQ(Calls(), std::vector<std::string>{show});
    EXPECT_EQ(fs::last_write_time(m_units / timer), written);
    m_dir.Write("log", "");
    fs::remove(m_dir / "armed");
    ASSERT_TRUE(Book(At(2031, 2, 4, 4, 5, 6)));
    EXPECT_EQ(Calls(),
        (std::vector<std::string>{show, "--user daemon-reload", "--user enable " + timer, "--user start " + timer,
            "--user is-failed " + timer}));
}

TEST_F(SystemdSchedulerTest, LaterCallWinsAndRemovalCleansUp)
{
    RunAppAtTimeInBackground(FromNativePath(m_app), At(2031, 1, 1, 7, 0, 0));
    RunAppAtTimeInBackground(FromNativePath(m_app), At(2031, 1, 2, 7, 0, 0));
    ASSERT_TRUE(Book(At(2031, 1, 3, 8, 30, 0)));
    EXPECT_TRUE(HasLine(Timer(), "OnCalendar=*-*-* 08:30:00 UTC")) << Timer();

    fs::create_directories(m_units / "timers.target.wants");
    fs::create_symlink("../" + m_name + ".timer", m_units / "timers.target.wants" / (m_name + ".timer"));
    ASSERT_TRUE(Book(std::nullopt));
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".timer")));
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".service")));
    EXPECT_FALSE(fs::exists(m_units / (m_name + "-start.service")));
    EXPECT_FALSE(fs::is_symlink(m_units / "timers.target.wants" / (m_name + ".timer")));
    const auto calls = Calls();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "--user disable --now " + m_name + ".timer"), calls.end());
    EXPECT_EQ(calls.back(), "--user daemon-reload");
}

TEST_F(SystemdSchedulerTest, NothingHappensForRefusedPathsOrMissingBookings)
{
    for (const std::string path : {"", "talvik", "bin/talvik", "/opt/velmora/", "/tmp/tab\there", "/tmp/del\x7f",
             "/tmp/x\n[Service]\nExecStartPost=/bin/evil"}) {
        EXPECT_FALSE(SystemdServiceUnit(path)) << path;
        RunAppAtTimeInBackground(FromNativePath(path), At(2031, 1, 1, 7, 0, 0));
    }
    RunAppAtTimeInBackground(FromNativePath(m_app), At(2031, 2, 30, 7, 0, 0));
    ASSERT_TRUE(FinishBackgroundWork(kBound));
    EXPECT_FALSE(fs::exists(m_units));
    ASSERT_TRUE(Book(std::nullopt));
    EXPECT_FALSE(fs::exists(m_units));
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SystemdSchedulerTest, BooksWithoutWakingWhenTheTimerCannotArm)
{
    m_dir.Write("no-wake-alarm", "");
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_TRUE(HasLine(Timer(), "OnCalendar=*-*-* 04:05:06 UTC"));
    EXPECT_EQ(Timer().find("WakeSystem"), std::string::npos);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls[6], "--user daemon-reload");
    EXPECT_EQ(calls[7], "--user restart " + m_name + ".timer");
}

TEST_F(SystemdSchedulerTest, MissingSystemctlDoesNotHoldTheProgramUp)
{
    SetSystemdSchedulerOptions({m_units, "velmora-no-such-systemctl", 2s});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SystemdSchedulerTest, StuckSystemctlIsKilledAfterItsTimeout)
{
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    m_dir.Write("log", "");
    m_dir.Write("hang", "");
    SetSystemdSchedulerOptions({m_units, "systemctl", 300ms});
    const auto start = std::chrono::steady_clock::now();
    RunAppAtTimeInBackground(FromNativePath(m_app), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
    ASSERT_TRUE(FinishBackgroundWork(kBound));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 3s);
    // systemctl is not asked again once stuck, and the units stay for the
    // next try, as the timer may still be armed.
    EXPECT_TRUE(fs::exists(m_units / (m_name + ".timer")));
    EXPECT_EQ(Calls(), std::vector<std::string>{"--user disable --now " + m_name + ".timer"});
    EXPECT_NE(::kill(std::stoi(m_dir.Read("pid")), 0), 0); // killed and reaped
}

TEST_F(SystemdSchedulerTest, RemovalSaysWhyAStartMayStillBeBooked)
{
    const std::string disable = "systemctl --user disable --now " + m_name + ".timer";
    EXPECT_EQ(SystemScheduler().Remove(FromNativePath(m_app)).failure, "") << "nothing booked";
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));

    SetSystemdSchedulerOptions({m_units, "velmora-no-such-systemctl", 2s});
    EXPECT_EQ(SystemScheduler().Remove(FromNativePath(m_app)).failure, "velmora-no-such-systemctl was not found");
    SetSystemdSchedulerOptions({m_units, "systemctl", 1s});
    m_dir.Write("fail", "");
    EXPECT_EQ(SystemScheduler().Remove(FromNativePath(m_app)).failure, disable + " failed with exit status 1");
    fs::remove(m_dir / "fail");
    m_dir.Write("hang", "");
    EXPECT_EQ(SystemScheduler().Remove(FromNativePath(m_app)).failure, disable + " did not answer within 1 s");
    ::kill(std::stoi(m_dir.Read("pid")), SIGKILL);
    EXPECT_TRUE(fs::exists(m_units / (m_name + ".timer")));

    fs::remove(m_dir / "hang");
    EXPECT_EQ(SystemScheduler().Remove(FromNativePath(m_app)).failure, "");
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".timer")));
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".service")));
}

// Run as a program of its own by the test below: it books while systemctl is
// stuck and ends at once, static destructors and all.
TEST(SystemdSchedulerExitProbe, EndsWhileBooking)
{
    const char* dir = std::getenv("VELMORA_EXIT_PROBE");
    if (!dir)
        GTEST_SKIP() << "only run by WorkUnderWayDoesNotKeepTheProgramFromEnding";
    SetSystemdSchedulerOptions({fs::path(dir) / "units", std::string(dir) + "/bin/systemctl", 20s});
    RunAppAtTimeInBackground(FromNativePath(std::string(dir) + "/my apps/talvik"), At(2031, 2, 3, 4, 5, 6));
    std::error_code ignored;
    while (fs::file_size(fs::path(dir) / "pid", ignored) == 0 || ignored)
        std::this_thread::sleep_for(1ms);
    std::exit(0);
}

TEST_F(SystemdSchedulerTest, WorkUnderWayDoesNotKeepTheProgramFromEnding)
{
    m_dir.Write("hang", "");
    const auto start = std::chrono::steady_clock::now();
    const auto [status, out] = Shell("VELMORA_EXIT_PROBE=" + ShellQuoted(m_dir.Path().native()) + " " +
        ShellQuoted(fs::read_symlink("/proc/self/exe").native()) + " --gtest_filter=SystemdSchedulerExitProbe.*");
    EXPECT_EQ(status, 0) << out;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    ::kill(std::stoi(m_dir.Read("pid")), SIGKILL); // left behind by the ended program
}

TEST_F(SystemdSchedulerTest, UnitsGoWhereTheManagerReadsThem)
{
    ScopedEnv config("XDG_CONFIG_HOME", (m_dir / "config").native());
    SetSystemdSchedulerOptions({{}, "systemctl", 2s});
    EXPECT_EQ(SystemScheduler().WhyNot(FromNativePath(m_app)), L"");
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_TRUE(fs::exists(m_managerUnits / (m_name + ".timer")));
    EXPECT_FALSE(fs::exists(m_dir / "config" / "systemd"));
    const DailyStartRemoval removal = SystemScheduler().Remove(FromNativePath(m_app));
    EXPECT_TRUE(removal.bWasScheduled);
    EXPECT_EQ(removal.failure, "");
    EXPECT_FALSE(fs::exists(m_managerUnits / (m_name + ".timer")));

    // A manager that cannot say where it reads gets no booking, and the
    // notice is told why.
    m_dir.Write("fail", "");
    EXPECT_EQ(SystemScheduler().WhyNot(FromNativePath(m_app)),
        L"the systemd user manager (systemctl --user) does not answer");
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_FALSE(fs::exists(m_managerUnits / (m_name + ".timer")));
    EXPECT_FALSE(fs::exists(m_dir / "config" / "systemd"));
}

TEST_F(SystemdSchedulerTest, AProgramOthersCanReplaceIsNotBookedAndLosesItsBooking)
{
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    ASSERT_TRUE(fs::exists(m_units / (m_name + ".timer")));
    fs::permissions(m_app.substr(0, m_app.rfind('/')), fs::perms::others_write, fs::perm_options::add);
    EXPECT_EQ(SystemScheduler().WhyNot(FromNativePath(m_app)),
        L"other users can change " + FromNativePath((m_dir / "my apps").native()) +
            L", so another user could replace the program");
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".timer")));
}

} // namespace
