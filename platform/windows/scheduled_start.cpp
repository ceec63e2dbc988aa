// SPDX-License-Identifier: MIT
#include "platform/scheduled_start.h"

// The Task Scheduler's bookings are not made on Windows yet, so none can be
// removed either.
std::string RemoveScheduledStartNow(const std::wstring&)
{
    return "daily starts are not available on Windows yet";
}
