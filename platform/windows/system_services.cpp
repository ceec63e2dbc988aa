// SPDX-License-Identifier: MIT
#include "platform/services.h"
#include "platform/windows/executable_path.h"
#include "platform/windows/windows_api.h"

namespace {

SYSTEMTIME SystemLocalTime()
{
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return local;
}

} // namespace

Services& GetServices()
{
    // The message box needs the windows, the scheduled start the Task
    // Scheduler and the chime the sound system; each comes with its own part
    // of the program and puts itself in here.
    static Services services{
        SystemLocalTime,
        ExecutablePath,
        nullptr,
        nullptr,
        nullptr,
    };
    return services;
}

void FinishBackgroundWork(std::chrono::milliseconds)
{ }
