// SPDX-License-Identifier: MIT
#include "platform/daily_start/task_scheduler/program_identity.h"
#include "platform/daily_start/task_scheduler/task_xml.h"
#include "platform/system/windows/windows_api.h"

namespace {

// The path as GetFinalPathNameByHandleW gives it, without its "\\?\" form.
std::wstring FinalPath(HANDLE file)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(
            file, path.data(), static_cast<DWORD>(path.size()), FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(length);
    }
    if (path.rfind(L"\\\\?\\UNC\\", 0) == 0)
        return L"\\" + path.substr(7);
    if (path.rfind(L"\\\\?\\", 0) == 0)
        return path.substr(4);
    return path;
}

std::wstring FullPath(const std::wstring& path)
{
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD length = size == 0 ? 0 : ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size)
        return path;
    full.resize(length);
    return full;
}

// `path` in capitals as the file system compares names, whatever the user's
// language: the same for every locale, so that no Turkish 'i' splits a task.
std::wstring FoldedCase(const std::wstring& path)
{
    const int size = static_cast<int>(path.size());
    const int length =
        ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.data(), size, nullptr, 0, nullptr, nullptr, 0);
    std::wstring folded(static_cast<std::size_t>(length), L'\0');
    if (length <= 0 ||
        ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.data(), size, folded.data(), length, nullptr,
            nullptr, 0) != length)
        return path;
    return folded;
}

} // namespace

std::wstring CanonicalProgramPath(const std::wstring& app)
{
    // A path the scheduler would not start, such as a relative one, stays as
    // it is, to be refused rather than read against the current folder.
    if (!TaskCanStart(app))
        return app;
    // Asking for no access opens even a file that is running or locked.
    const HANDLE file = ::CreateFileW(app.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FullPath(app);
    std::wstring path = FinalPath(file);
    ::CloseHandle(file);
    // A volume without a drive letter has no final path of that form.
    return path.empty() ? FullPath(app) : path;
}

std::wstring ProgramTaskName(const std::wstring& user, const std::wstring& app)
{
    // TaskName then makes ASCII capitals small again: a task made earlier for
    // a path of plain letters, spelt as the file system spells it, keeps its
    // name.
    return TaskName(user, FoldedCase(CanonicalProgramPath(app)));
}
