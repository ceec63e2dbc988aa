// SPDX-License-Identifier: MIT
#include "platform/system/folders.h"
#include "platform/system/windows/windows_api.h"

std::wstring UserConfigFolder()
{
    // %APPDATA%, the user's roaming application data, as the user's session
    // sets it; a relative value is ignored, as on Linux.
    std::wstring folder(MAX_PATH, L'\0');
    DWORD length = ::GetEnvironmentVariableW(L"APPDATA", folder.data(), static_cast<DWORD>(folder.size()));
    if (length >= folder.size()) {
        folder.resize(length);
        length = ::GetEnvironmentVariableW(L"APPDATA", folder.data(), static_cast<DWORD>(folder.size()));
    }
    if (length == 0 || length >= folder.size())
        return std::wstring();
    folder.resize(length);
    const bool absolute = (folder.size() >= 3 && folder[1] == L':' && (folder[2] == L'\\' || folder[2] == L'/')) ||
        folder.rfind(L"\\\\", 0) == 0;
    if (!absolute)
        return std::wstring();
    if (folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder;
}

std::wstring WhyNoUserConfigFolder()
{
    return ::GetEnvironmentVariableW(L"APPDATA", nullptr, 0) == 0 ? L"APPDATA is not set"
                                                                  : L"APPDATA is not an absolute path";
}

bool IsFolderWritable(const std::wstring& folder)
{
    // Windows' permissions are lists that only trying answers for certain:
    // a file that nothing else can have made is created and removed again.
    const std::wstring probe = (folder.empty() ? std::wstring(L".\\") : folder) + L".velmora-write-test-" +
        std::to_wstring(::GetCurrentProcessId());
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(file);
    return true;
}

bool CreateFolders(const std::wstring& folder)
{
    // Each folder from the top down; existing ones are left as they are. The
    // new ones inherit their parent's permissions, which under %APPDATA% are
    // the user's own. A folder that is there may still refuse to be made
    // (a share's root, a folder the user may not write), so only a folder
    // that is not there afterwards ends the walk, with the system's reason.
    const auto isFolder = [](const std::wstring& path) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    };
    for (size_t end = folder.find_first_of(L"\\/", 3); !folder.empty(); end = folder.find_first_of(L"\\/", end + 1)) {
        const std::wstring part = folder.substr(0, end);
        if (!::CreateDirectoryW(part.c_str(), nullptr)) {
            const DWORD error = ::GetLastError();
            if (!isFolder(part)) {
                ::SetLastError(error);
                return false;
            }
        }
        if (end == std::wstring::npos || end + 1 == folder.size())
            break;
    }
    return isFolder(folder);
}
