// SPDX-License-Identifier: MIT
#pragma once

#include "scoped_env.h"

#include <ctime>

#ifdef _WIN32
#include "platform/system/windows/time_zone.h"

#include <gtest/gtest.h>
#include <map>
#endif

// Sets the time zone for the lifetime of the object, then restores the old one.
#ifdef _WIN32
// Windows names its zones otherwise, and sets one per process through the
// program's own choice of zone; a zone it does not know fails the test.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char* zone)
    {
        static const std::map<std::string, std::wstring> kWindowsNames{
            {"UTC", L"UTC"},
            {"Europe/Berlin", L"W. Europe Standard Time"},
            {"America/New_York", L"Eastern Standard Time"},
        };
        const auto name = kWindowsNames.find(zone);
        const auto found = name == kWindowsNames.end() ? std::nullopt : FindTimeZone(name->second);
        EXPECT_TRUE(found) << "no Windows zone for " << zone;
        UseTimeZone(found);
    }
    ~ScopedTimeZone() { UseTimeZone(std::nullopt); }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;
};
#else
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
#endif
