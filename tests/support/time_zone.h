// SPDX-License-Identifier: MIT
#pragma once

#include "scoped_env.h"

#include <ctime>

// Sets the time zone for the lifetime of the object, then restores the old one.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char* zone)
        : m_tz("TZ", zone)
    {
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        // The old zone is back once m_tz is gone; tzset reads TZ then.
        m_tz.Restore();
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    ScopedEnv m_tz;
};
