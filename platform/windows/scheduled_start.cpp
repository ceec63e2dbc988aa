// SPDX-License-Identifier: MIT
#include "platform/scheduled_start.h"
#include "platform/windows/task_scheduler.h"
#include "platform/windows/task_service.h"

ScheduledStartRemoval RemoveScheduledStartNow(const std::wstring& app)
{
    const ComApartment com;
    if (!com.Failure().empty())
        return {false, com.Failure()};
    ScheduledStartRemoval removal;
    removal.failure = TaskSchedulerBookNow(app, std::nullopt, &removal.bWasBooked);
    return removal;
}
