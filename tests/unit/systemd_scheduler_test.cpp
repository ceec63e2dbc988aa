#include "platform/linux/systemd_scheduler.h"
#include "platform/linux/systemd_units.h"
#include "platform/native_path.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <set>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <vector>

// No test reaches a real user manager: systemctl is a stand-in script that
// logs its arguments, and systemd-analyze checks the units offline.

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kBound = 10s; // far beyond any booking here; a hang fails instead of blocking

SYSTEMTIME At(int year, int month, int day, int hour, int minute, int second)
{
    const auto u = [](int v) { return static_cast<std::uint16_t>(v); };
    return SYSTEMTIME{u(year), u(month), 0, u(day), u(hour), u(minute), u(second), 0};
}

bool HasLine(const std::string& text, const std::string& line)
{
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

std::string ShellQuoted(const std::string& s)
{
    std::string out = "'";
    for (const char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Exit status and everything printed by a shell command line.
std::pair<int, std::string> Shell(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    for (char buf[256]; pipe && std::fgets(buf, sizeof buf, pipe);)
        out += buf;
    const int status = pipe ? ::pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

void WriteExecutable(const fs::path& path, const std::string& script)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << script;
    fs::permissions(path, fs::perms::owner_all);
}

// Writes both units for `program` and has systemd-analyze check them.
std::pair<int, std::string> Verify(const TempDir& dir, const fs::path& program)
{
    const fs::path units = dir / "verify";
    fs::create_directories(units);
    fs::create_directories(dir / "runtime");
    const std::string name = SystemdUnitName(program.native());
    std::ofstream(units / (name + ".service"), std::ios::binary) << *SystemdServiceUnit(program.native());
    std::ofstream(units / (name + ".timer"), std::ios::binary)
        << SystemdTimerUnit(program.native(), At(2031, 2, 3, 4, 5, 6), true);
    return Shell("XDG_RUNTIME_DIR=" + ShellQuoted((dir / "runtime").native()) + " systemd-analyze --user verify " +
        ShellQuoted((units / (name + ".timer")).native()) + " " + ShellQuoted((units / (name + ".service")).native()));
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

TEST(SystemdUnitsTest, TimerFiresOnceAtTheLocalTime)
{
    const std::string timer = SystemdTimerUnit("/opt/velmora/talvik", At(2031, 2, 3, 4, 5, 6), true);
    for (const char* line : {"OnCalendar=2031-02-03 04:05:06", "AccuracySec=1s", "Persistent=true", "WakeSystem=yes",
             "WantedBy=timers.target"})
        EXPECT_TRUE(HasLine(timer, line)) << line;
    EXPECT_EQ(
        SystemdTimerUnit("/opt/velmora/talvik", At(2031, 2, 3, 4, 5, 6), false).find("WakeSystem"), std::string::npos);

    const auto [status, out] = Shell("systemd-analyze calendar '2031-02-03 04:05:06'");
    EXPECT_EQ(status, 0);
    EXPECT_NE(out.find("Normalized form: 2031-02-03 04:05:06"), std::string::npos) << out;
    EXPECT_EQ(out.find("never"), std::string::npos) << out;
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

// Bookings made through the background worker against a stand-in systemctl
// found on PATH. Files in its folder switch on failures: "hang" (sleeps a
// minute) and "no-wake-alarm" (timers with WakeSystem=yes fail to arm).
class SystemdSchedulerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(WaitForScheduledStarts(kBound));
        const std::string d = m_dir.Path().native(), units = m_units.native();
        WriteExecutable(m_dir / "bin" / "systemctl",
            "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + d +
                "/log'\n"
                "if [ -e '" +
                d + "/hang' ]; then echo $$ > '" + d +
                "/pid'; exec sleep 60; fi\n"
                "[ \"$2\" != is-failed ] && exit 0\n[ -e '" +
                d +
                "/no-wake-alarm' ] || exit 1\n"
                "grep -qx WakeSystem=yes '" +
                units + "'/\"$3\"\n");
        const char* path = std::getenv("PATH");
        m_savedPath = path ? path : "/usr/bin:/bin";
        ::setenv("PATH", ((m_dir / "bin").native() + ":" + m_savedPath).c_str(), 1);
        SetSystemdSchedulerOptions({m_units, "systemctl", 2s});
    }
    void TearDown() override
    {
        EXPECT_TRUE(WaitForScheduledStarts(kBound));
        ::setenv("PATH", m_savedPath.c_str(), 1);
        SetSystemdSchedulerOptions({});
    }

    bool Book(const std::optional<SYSTEMTIME>& time)
    {
        SystemdRunAppAtTime(FromNativePath(m_app), time);
        return WaitForScheduledStarts(kBound);
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
    const std::string m_app = (m_dir / "my apps" / "talvik").native();
    const std::string m_name = SystemdUnitName(m_app);
    std::string m_savedPath;
};

TEST_F(SystemdSchedulerTest, BookingWritesBothUnitsAndArmsTheTimer)
{
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_EQ(m_dir.Read("units/" + m_name + ".service"), *SystemdServiceUnit(m_app));
    EXPECT_TRUE(HasLine(Timer(), "OnCalendar=2031-02-03 04:05:06"));
    EXPECT_TRUE(HasLine(Timer(), "WakeSystem=yes"));
    const std::string timer = m_name + ".timer";
    EXPECT_EQ(Calls(),
        (std::vector<std::string>{
            "--user daemon-reload", "--user enable " + timer, "--user restart " + timer, "--user is-failed " + timer}));
}

TEST_F(SystemdSchedulerTest, LaterCallWinsAndRemovalCleansUp)
{
    SystemdRunAppAtTime(FromNativePath(m_app), At(2031, 1, 1, 7, 0, 0));
    SystemdRunAppAtTime(FromNativePath(m_app), At(2031, 1, 2, 7, 0, 0));
    ASSERT_TRUE(Book(At(2031, 1, 3, 8, 30, 0)));
    EXPECT_TRUE(HasLine(Timer(), "OnCalendar=2031-01-03 08:30:00")) << Timer();

    fs::create_directories(m_units / "timers.target.wants");
    fs::create_symlink("../" + m_name + ".timer", m_units / "timers.target.wants" / (m_name + ".timer"));
    ASSERT_TRUE(Book(std::nullopt));
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".timer")));
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".service")));
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
        SystemdRunAppAtTime(FromNativePath(path), At(2031, 1, 1, 7, 0, 0));
    }
    SystemdRunAppAtTime(FromNativePath(m_app), At(2031, 2, 30, 7, 0, 0));
    ASSERT_TRUE(Book(std::nullopt));
    EXPECT_FALSE(fs::exists(m_units));
    EXPECT_TRUE(Calls().empty());
}

TEST_F(SystemdSchedulerTest, BooksWithoutWakingWhenTheTimerCannotArm)
{
    m_dir.Write("no-wake-alarm", "");
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_TRUE(HasLine(Timer(), "OnCalendar=2031-02-03 04:05:06"));
    EXPECT_EQ(Timer().find("WakeSystem"), std::string::npos);
    const auto calls = Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[4], "--user daemon-reload");
    EXPECT_EQ(calls[5], "--user restart " + m_name + ".timer");
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
    SystemdRunAppAtTime(FromNativePath(m_app), std::nullopt);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
    ASSERT_TRUE(WaitForScheduledStarts(kBound));
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_GE(took, 300ms);
    EXPECT_LT(took, 3s);
    // The files go all the same; systemctl is not asked again once stuck.
    EXPECT_FALSE(fs::exists(m_units / (m_name + ".timer")));
    EXPECT_EQ(Calls(), std::vector<std::string>{"--user disable --now " + m_name + ".timer"});
    EXPECT_NE(::kill(std::stoi(m_dir.Read("pid")), 0), 0); // killed and reaped
}

// Run as a program of its own by the test below: it books while systemctl is
// stuck and ends at once, static destructors and all.
TEST(SystemdSchedulerExitProbe, EndsWhileBooking)
{
    const char* dir = std::getenv("VELMORA_EXIT_PROBE");
    if (!dir)
        GTEST_SKIP() << "only run by WorkUnderWayDoesNotKeepTheProgramFromEnding";
    SetSystemdSchedulerOptions({fs::path(dir) / "units", std::string(dir) + "/bin/systemctl", 20s});
    SystemdRunAppAtTime(L"/opt/velmora/talvik", At(2031, 2, 3, 4, 5, 6));
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

TEST_F(SystemdSchedulerTest, UnitsGoToXdgConfigHomeByDefault)
{
    const char* saved = std::getenv("XDG_CONFIG_HOME");
    const std::string restore = saved ? saved : "";
    ::setenv("XDG_CONFIG_HOME", (m_dir / "config").c_str(), 1);
    SetSystemdSchedulerOptions({{}, "systemctl", 2s});
    ASSERT_TRUE(Book(At(2031, 2, 3, 4, 5, 6)));
    EXPECT_TRUE(fs::exists(m_dir / "config" / "systemd" / "user" / (m_name + ".timer")));
    saved ? ::setenv("XDG_CONFIG_HOME", restore.c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
}

} // namespace
