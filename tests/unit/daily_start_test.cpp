// SPDX-License-Identifier: MIT
#include "platform/daily_start/daily_start.h"
#include "service_doubles.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#ifndef _WIN32
#include "platform/daily_start/systemd/systemd_scheduler.h"
#include "shell.h"
#endif

// What a daily start does, whichever system books it: on Linux systemd's
// units in a folder of the test's own, armed by a stand-in systemctl; on
// Windows the Task Scheduler itself, which under wine keeps tasks but never
// runs them.

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr auto kBound = 30s; // far beyond any booking here; a hang fails instead of blocking

class DailyStartTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FinishBackgroundWork(kBound));
        fs::create_directories(m_dir / "my apps");
        m_dir.Write("my apps/talvik", "");
        fs::permissions(m_dir / "my apps" / "talvik", fs::perms::owner_all);
#ifndef _WIN32
        // Every command succeeds, and no timer has failed to arm.
        WriteExecutable(m_dir / "bin" / "systemctl", "#!/bin/sh\n[ \"$2\" != is-failed ]\n");
        SetSystemdSchedulerOptions({m_dir / "units", (m_dir / "bin" / "systemctl").native(), 5s});
#endif
    }
    void TearDown() override
    {
        EXPECT_TRUE(FinishBackgroundWork(kBound));
        (void)SystemScheduler().Remove(m_app);
#ifndef _WIN32
        SetSystemdSchedulerOptions({});
#endif
    }

    TempDir m_dir;
    const std::wstring m_app = FromFilesystemPath(m_dir / "my apps" / "talvik");
};

TEST_F(DailyStartTest, ARemovalSaysWhetherAStartWasBooked)
{
    DailyScheduler& scheduler = SystemScheduler();
    EXPECT_EQ(scheduler.WhyNot(m_app), L"");
    ASSERT_EQ(scheduler.Schedule(m_app, At(2031, 2, 3, 4, 5)), "");
    // A second booking replaces the first rather than failing on its name.
    ASSERT_EQ(scheduler.Schedule(m_app, At(2031, 2, 4, 6, 30)), "");
    const DailyStartRemoval removal = scheduler.Remove(m_app);
    EXPECT_EQ(removal.failure, "");
    EXPECT_TRUE(removal.bWasScheduled);
    const DailyStartRemoval again = scheduler.Remove(m_app);
    EXPECT_EQ(again.failure, "");
    EXPECT_FALSE(again.bWasScheduled) << "nothing booked is nothing to remove";
}

TEST_F(DailyStartTest, APathTheSystemCannotStartIsRefusedWithTheReason)
{
    for (const std::wstring path : {L"", L"talvik.exe"}) {
        EXPECT_NE(SystemScheduler().WhyNot(path), L"") << ToNativePath(path);
        EXPECT_NE(SystemScheduler().Schedule(path, At(2031, 2, 3, 4, 5)), "") << ToNativePath(path);
        const DailyStartRemoval removal = SystemScheduler().Remove(path);
        EXPECT_FALSE(removal.bWasScheduled) << ToNativePath(path);
        EXPECT_EQ(removal.failure, "") << ToNativePath(path);
    }
}

// The program's own requests do the same work in the background, once it
// waits for them; a time that is no real date books nothing.
TEST_F(DailyStartTest, TheBackgroundDoesTheSameWorkOnceWaitedFor)
{
    RunAppAtTimeInBackground(m_app, At(2031, 2, 30, 4, 5));
    ASSERT_TRUE(FinishBackgroundWork(kBound));
    EXPECT_FALSE(SystemScheduler().Remove(m_app).bWasScheduled) << "30 February was booked";

    RunAppAtTimeInBackground(m_app, At(2031, 2, 3, 4, 5));
    ASSERT_TRUE(FinishBackgroundWork(kBound));
    EXPECT_TRUE(SystemScheduler().Remove(m_app).bWasScheduled);

    ASSERT_EQ(SystemScheduler().Schedule(m_app, At(2031, 2, 3, 4, 5)), "");
    RunAppAtTimeInBackground(m_app, std::nullopt);
    ASSERT_TRUE(FinishBackgroundWork(kBound));
    EXPECT_FALSE(SystemScheduler().Remove(m_app).bWasScheduled) << "the removal was not done";
}

} // namespace
