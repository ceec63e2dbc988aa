// SPDX-License-Identifier: MIT
#include "platform/system/executable_path.h"
#include "platform/system/linux/executable_path.h"
#include "text/utf8_path.h"

#include <climits>
#include <sys/stat.h>
#include <unistd.h>

std::wstring ExecutablePath()
{
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    return n > 0 ? FromNativePath(WithoutDeletedMark(std::string(buffer, static_cast<size_t>(n)))) : std::wstring();
}

std::string WithoutDeletedMark(const std::string& linkTarget)
{
    static const std::string kMark = " (deleted)";
    if (linkTarget.size() <= kMark.size() || linkTarget.compare(linkTarget.size() - kMark.size(), kMark.size(), kMark))
        return linkTarget;
    struct stat running
    {
    }, named{};
    if (::stat("/proc/self/exe", &running) == 0 && ::stat(linkTarget.c_str(), &named) == 0 &&
        running.st_dev == named.st_dev && running.st_ino == named.st_ino)
        return linkTarget;
    return linkTarget.substr(0, linkTarget.size() - kMark.size());
}
