// SPDX-License-Identifier: MIT
#include "platform/system/services.h"
#include "platform/daily_start/daily_start.h"
#include "platform/system/chime.h"
#include "platform/system/executable_path.h"
#include "platform/system/local_time.h"

Services& GetServices()
{
    // The message box needs a window library; it installs its own.
    static Services services{
        SystemLocalTime,
        ExecutablePath,
        RunAppAtTimeInBackground,
        nullptr,
        PlayChime,
        [](const std::wstring& app) { return SystemScheduler().WhyNot(app); },
    };
    return services;
}

SYSTEMTIME GetLocalTime()
{
    return GetServices().localTime();
}

std::wstring GetModuleFileName()
{
    return GetServices().moduleFileName();
}

void MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption)
{
    if (GetServices().messageBox)
        GetServices().messageBox(owner, text, caption);
}

void PlaySound(const std::wstring& path)
{
    if (GetServices().playSound)
        GetServices().playSound(path);
}
