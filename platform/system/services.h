// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/types.h"

#include <functional>
#include <optional>
#include <string>

// The operating-system services that tests must be able to control. Each slot
// holds the real implementation unless a test (or the window library, for the
// message box) puts another one in.
struct Services
{
    // Current local date and time.
    std::function<SYSTEMTIME()> localTime;
    // Full path of the running executable.
    std::function<std::wstring()> moduleFileName;
    // Books (time) or removes (nullopt) the scheduled start of an application.
    std::function<void(const std::wstring& app, const std::optional<SYSTEMTIME>& time)> runAppAtTime;
    // Modal message box with one OK button and no icon, owned by the window.
    std::function<void(HWND owner, const std::wstring& text, const std::wstring& caption)> messageBox;
    // Starts playing a sound file in the background and returns at once.
    std::function<void(const std::wstring& path)> playSound;
    // Empty when a start of the application can be booked, else why not.
    std::function<std::wstring(const std::wstring& app)> whyCannotRunAppAtTime;
};

Services& GetServices();

// Replaces the services for the lifetime of the object, then restores them.
class ScopedServices
{
public:
    ScopedServices()
        : m_saved(GetServices())
    { }
    ~ScopedServices() { GetServices() = m_saved; }
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_saved;
};

// The program's names for the services; the daily start's are in
// platform/daily_start/daily_start.h.
SYSTEMTIME GetLocalTime();
std::wstring GetModuleFileName();
void MessageBox(HWND owner, const std::wstring& text, const std::wstring& caption);
void PlaySound(const std::wstring& path);
