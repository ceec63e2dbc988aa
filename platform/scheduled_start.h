// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// What removing a daily start found and did.
struct ScheduledStartRemoval
{
    // Whether there was a booking for the program.
    bool bWasBooked = false;
    // Empty when no start is booked for the program any more, else why one
    // may still be.
    std::string failure;
};

// Removes the daily start booked for the program at `app` at once, in the
// calling thread.
ScheduledStartRemoval RemoveScheduledStartNow(const std::wstring& app);
