// SPDX-License-Identifier: MIT
#include "platform/daily_start/daily_start.h"
#include "platform/daily_start/scheduling_thread.h"
#include "platform/system/point_in_time.h"
#include "platform/system/services.h"

namespace {

SchedulingThread& Thread()
{
    static SchedulingThread thread([](const std::wstring& app, const std::optional<SYSTEMTIME>& time) {
        // The program reports no failure here: its next start asks again.
        DailyScheduler& scheduler = SystemScheduler();
        if (time)
            (void)scheduler.Schedule(app, *time);
        else
            (void)scheduler.Remove(app);
    });
    return thread;
}

} // namespace

void CeRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    if (GetServices().runAppAtTime)
        GetServices().runAppAtTime(app, time);
}

std::wstring WhyCannotRunAppAtTime(const std::wstring& app)
{
    return GetServices().whyCannotRunAppAtTime ? GetServices().whyCannotRunAppAtTime(app) : std::wstring();
}

void RunAppAtTimeInBackground(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    if (time && !IsValidLocalTime(*time))
        return;
    Thread().Submit(app, time);
}

bool FinishBackgroundWork(std::chrono::milliseconds timeout)
{
    return Thread().WaitIdle(timeout);
}
