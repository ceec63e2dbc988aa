// SPDX-License-Identifier: MIT
#include "platform/system/folders.h"
#include "text/utf8_path.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

std::wstring UserConfigFolder()
{
    // A relative XDG_CONFIG_HOME is to be ignored, as systemd and the
    // desktop's own programs ignore it.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return FromNativePath(std::string(config) + "/");
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? FromNativePath(std::string(home) + "/.config/") : std::wstring();
}

std::wstring WhyNoUserConfigFolder()
{
    const char* home = std::getenv("HOME");
    return home && home[0] ? L"HOME is not an absolute path" : L"HOME is not set";
}

bool IsFolderWritable(const std::wstring& folder)
{
    // Renaming the new file into place needs write and search permission on
    // the folder; a read-only mount answers EROFS even to root.
    const std::string path = folder.empty() ? std::string(".") : ToNativePath(folder);
    return ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool CreateFolders(const std::wstring& folder)
{
    const std::string path = ToNativePath(folder);
    // Each folder from the top down; existing ones are left as they are.
    for (size_t end = path.find('/', 1); !path.empty(); end = path.find('/', end + 1)) {
        const std::string part = path.substr(0, end);
        if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
        if (end == std::string::npos)
            break;
    }
    struct stat st
    { };
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}
