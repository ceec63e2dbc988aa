// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/windows/windows_api.h"

#include <aclapi.h>
#include <filesystem>
#include <sddl.h>
#include <string>

// Gives `path` the access list of `sddl`, where "ME" stands for the user.
inline bool SetAccessList(const std::filesystem::path& path, std::wstring sddl)
{
    HANDLE token = nullptr;
    BYTE buffer[256];
    DWORD size = 0;
    wchar_t* me = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token) ||
        !::GetTokenInformation(token, TokenUser, buffer, sizeof buffer, &size) ||
        !::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &me))
        return false;
    ::CloseHandle(token);
    for (std::size_t at; (at = sddl.find(L"ME")) != std::wstring::npos;)
        sddl.replace(at, 2, me);
    ::LocalFree(me);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    BOOL bPresent = FALSE;
    BOOL bDefaulted = FALSE;
    PACL acl = nullptr;
    const bool bSet =
        ::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr) &&
        ::GetSecurityDescriptorDacl(descriptor, &bPresent, &acl, &bDefaulted) &&
        ::SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
            DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr, nullptr, acl,
            nullptr) == ERROR_SUCCESS;
    ::LocalFree(descriptor);
    return bSet;
}
