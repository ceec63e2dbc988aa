// SPDX-License-Identifier: MIT
#include "platform/windows/task_scheduler.h"
#include "platform/scheduling_thread.h"
#include "platform/task_xml.h"
#include "platform/windows/task_service.h"

namespace {

SchedulingThread& Scheduler()
{
    static SchedulingThread thread([](const std::wstring& app, const std::optional<SYSTEMTIME>& time) {
        // The program reports no failure of its booking; the next start
        // books again.
        const ComApartment com;
        if (com.Failure().empty())
            (void)TaskSchedulerBookNow(app, time);
    });
    return thread;
}

} // namespace

void TaskSchedulerRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    Scheduler().Submit(app, time);
}

bool WaitForScheduledStarts(std::chrono::milliseconds timeout)
{
    return Scheduler().WaitIdle(timeout);
}

std::string TaskSchedulerBookNow(const std::wstring& app, const std::optional<SYSTEMTIME>& time, bool* pbWasBooked)
{
    if (!TaskCanStart(app))
        return "the Task Scheduler cannot start a program at this path";
    const std::wstring user = CurrentUserSid();
    if (user.empty())
        return "the user's account cannot be read";
    const std::wstring name = TaskName(user, app);
    if (!time)
        return DeleteTask(name, pbWasBooked);
    const std::optional<std::wstring> xml = TaskXml(user, app, *time);
    if (!xml)
        return "the Task Scheduler cannot start the program at that time";
    return RegisterTask(name, *xml);
}
