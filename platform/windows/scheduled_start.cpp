// SPDX-License-Identifier: MIT
#include "platform/scheduled_start.h"
#include "platform/windows/task_scheduler.h"
#include "platform/windows/task_service.h"

std::string RemoveScheduledStartNow(const std::wstring& app)
{
    const ComApartment com;
    if (!com.Failure().empty())
        return com.Failure();
    return TaskSchedulerBookNow(app, std::nullopt);
}
