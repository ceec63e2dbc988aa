#include "platform/linux/canberra_sound.h"
#include "platform/linux/systemd_scheduler.h"
#include "platform/native_path.h"
#include "platform/services.h"

#include <climits>
#include <ctime>
#include <unistd.h>

namespace {

SYSTEMTIME SystemLocalTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm tm{};
    localtime_r(&now.tv_sec, &tm);
    return SYSTEMTIME{
        static_cast<std::uint16_t>(tm.tm_year + 1900),
        static_cast<std::uint16_t>(tm.tm_mon + 1),
        static_cast<std::uint16_t>(tm.tm_wday),
        static_cast<std::uint16_t>(tm.tm_mday),
        static_cast<std::uint16_t>(tm.tm_hour),
        static_cast<std::uint16_t>(tm.tm_min),
        static_cast<std::uint16_t>(tm.tm_sec),
        static_cast<std::uint16_t>(now.tv_nsec / 1000000),
    };
}

std::wstring SystemModuleFileName()
{
    // The real path of the executable, links resolved, however it was started.
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    return n > 0 ? FromNativePath(std::string(buffer, static_cast<size_t>(n))) : std::wstring();
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
    };
    return services;
}

void FinishBackgroundWork(std::chrono::milliseconds timeout)
{
    WaitForScheduledStarts(timeout);
}
