// SPDX-License-Identifier: MIT
#include "platform/linux/canberra_sound.h"
#include "platform/linux/executable_path.h"
#include "platform/linux/systemd_scheduler.h"
#include "platform/native_path.h"
#include "platform/point_in_time.h"
#include "platform/services.h"

#include <ctime>

namespace {

SYSTEMTIME SystemLocalTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    SYSTEMTIME local = CTime(now.tv_sec).GetAsSystemTime();
    local.wMilliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
    return local;
}

std::wstring SystemModuleFileName()
{
    return FromNativePath(ExecutablePath());
}

} // namespace

Services& GetServices()
{
    // The message box needs a window library; it installs its own.
    static Services services{
        SystemLocalTime,
        SystemModuleFileName,
        SystemdRunAppAtTime,
        nullptr,
        CanberraPlaySound,
        SystemdWhyCannotBook,
    };
    return services;
}

void FinishBackgroundWork(std::chrono::milliseconds timeout)
{
    WaitForScheduledStarts(timeout);
}
