// SPDX-License-Identifier: MIT
#include "platform/daily_start/scheduling_thread.h"
#include "service_doubles.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

using namespace std::chrono_literals;

// While one booking is under way, a newer request for a path takes the place
// of the one still waiting, so that the system is asked only for the latest.
TEST(SchedulingThread, TheLatestWaitingRequestForAPathWins)
{
    std::mutex mutex;
    std::condition_variable changed;
    bool bStarted = false, bReleased = false;
    std::vector<std::wstring> done;
    SchedulingThread thread([&](const std::wstring& app, const std::optional<SYSTEMTIME>& time) {
        std::unique_lock lock(mutex);
        bStarted = true;
        changed.notify_all();
        changed.wait(lock, [&] { return bReleased; });
        done.push_back(app + (time ? L" at " + std::to_wstring(time->wHour) : L" removed"));
    });
    thread.Submit(L"/a", At(2031, 1, 1, 7, 0));
    {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return bStarted; });
    }
    thread.Submit(L"/a", At(2031, 1, 1, 8, 0));
    thread.Submit(L"/b", std::nullopt);
    thread.Submit(L"/a", At(2031, 1, 1, 9, 0));
    EXPECT_FALSE(thread.WaitIdle(50ms)) << "the first booking is still under way";
    {
        std::lock_guard lock(mutex);
        bReleased = true;
    }
    changed.notify_all();
    EXPECT_TRUE(thread.WaitIdle(10s));
    std::lock_guard lock(mutex);
    EXPECT_EQ(done, (std::vector<std::wstring>{L"/a at 7", L"/a at 9", L"/b removed"}));
}

} // namespace
