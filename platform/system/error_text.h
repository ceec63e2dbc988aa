// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Why the last call to the system that failed in this thread failed, in the
// system's own words, as UTF-8: errno on Linux, GetLastError on Windows.
std::string LastErrorText();
