// SPDX-License-Identifier: MIT
#include "platform/services.h"
#include "platform/windows/chime.h"
#include "platform/windows/executable_path.h"
#include "platform/windows/task_scheduler.h"
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
    // The message box needs the windows; they put it in themselves.
    static Services services{
        SystemLocalTime,
        ExecutablePath,
        TaskSchedulerRunAppAtTime,
        nullptr,
        WindowsPlaySound,
        // Whether other users could replace the program is not checked on
        // Windows yet: an empty slot books every start.
        nullptr,
    };
    return services;
}

void FinishBackgroundWork(std::chrono::milliseconds timeout)
{
    WaitForScheduledStarts(timeout);
}
