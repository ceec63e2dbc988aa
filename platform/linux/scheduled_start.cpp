// SPDX-License-Identifier: MIT
#include "platform/scheduled_start.h"
#include "platform/linux/systemd_scheduler.h"

std::string RemoveScheduledStartNow(const std::wstring& app)
{
    return SystemdRemoveStartNow(app);
}
