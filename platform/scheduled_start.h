// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Removes the daily start booked for the program at `app` at once, in the
// calling thread. Empty when no start is booked for it any more, else why one
// may still be.
std::string RemoveScheduledStartNow(const std::wstring& app);
