// SPDX-License-Identifier: MIT
#include "platform/scheduled_start.h"

// The Task Scheduler's bookings are not made on Windows yet, so none can be
// removed either.
ScheduledStartRemoval RemoveScheduledStartNow(const std::wstring&)
{
    return {false, "daily starts are not available on Windows yet"};
}
