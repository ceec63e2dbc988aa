// SPDX-License-Identifier: MIT
#include "platform/services.h"

SYSTEMTIME GetLocalTime()
{
    return GetServices().localTime();
}

std::wstring GetModuleFileName()
{
    return GetServices().moduleFileName();
}

void CeRunAppAtTime(const std::wstring& app, const std::optional<SYSTEMTIME>& time)
{
    if (GetServices().runAppAtTime)
        GetServices().runAppAtTime(app, time);
}

std::wstring WhyCannotRunAppAtTime(const std::wstring& app)
{
    return GetServices().whyCannotRunAppAtTime ? GetServices().whyCannotRunAppAtTime(app) : std::wstring();
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
