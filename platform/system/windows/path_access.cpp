// SPDX-License-Identifier: MIT
#include "platform/system/windows/path_access.h"

#include <aclapi.h>
#include <sddl.h>
#include <vector>

namespace {

// DELETE, whose macro windows_api.h undoes.
constexpr ACCESS_MASK kDelete = 0x00010000;
// The rights that change a file or folder: its content or entries, its
// access list, its owner, or whether it is there at all.
constexpr ACCESS_MASK kChangeRights =
    FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_DELETE_CHILD | kDelete | WRITE_DAC | WRITE_OWNER;
// Of those, the rights to add entries to a folder (FILE_ADD_FILE and
// FILE_ADD_SUBDIRECTORY): who has no more may not rename or delete what
// others put there, as in the root of a system drive.
constexpr ACCESS_MASK kAddEntryRights = FILE_WRITE_DATA | FILE_APPEND_DATA;

std::wstring SidText(PSID sid)
{
    wchar_t* text = nullptr;
    if (!sid || !::ConvertSidToStringSidW(sid, &text))
        return std::wstring();
    std::wstring result = text;
    ::LocalFree(text);
    return result;
}

bool IsUserOrAdmin(const std::wstring& sid, const std::wstring& user)
{
    // SYSTEM, Administrators, TrustedInstaller.
    static const wchar_t* const kAdmins[] = {
        L"S-1-5-18", L"S-1-5-32-544", L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464"};
    if (sid == user)
        return true;
    for (const wchar_t* admin : kAdmins)
        if (sid == admin)
            return true;
    return false;
}

// The rights that the allow entries of `acl` give anyone but the user and
// the administrators on the object itself. Entries only passed on to what
// the folder will hold (inherit-only) do not apply to it.
ACCESS_MASK OthersRights(PACL acl, const std::wstring& owner, const std::wstring& user)
{
    ACCESS_MASK rights = 0;
    GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
    for (DWORD i = 0; i < acl->AceCount; ++i) {
        void* entry = nullptr;
        if (!::GetAce(acl, i, &entry))
            return FILE_ALL_ACCESS;
        const auto* header = static_cast<const ACE_HEADER*>(entry);
        if ((header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_ALLOWED_CALLBACK_ACE_TYPE) ||
            (header->AceFlags & INHERIT_ONLY_ACE))
            continue;
        // A callback entry starts as a plain one, with a condition after.
        auto* allow = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        std::wstring sid = SidText(&allow->SidStart);
        if (sid == L"S-1-3-4") // OWNER RIGHTS, the owner's
            sid = owner;
        if (sid == L"S-1-3-0" || IsUserOrAdmin(sid, user)) // CREATOR OWNER grants no one on the object itself
            continue;
        ACCESS_MASK mask = allow->Mask;
        ::MapGenericMask(&mask, &mapping);
        rights |= mask;
    }
    return rights;
}

std::vector<BYTE> ReadUserSid()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    const bool bRead = size && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size);
    ::CloseHandle(token);
    if (!bRead)
        return {};
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    const auto* bytes = static_cast<const BYTE*>(sid);
    return std::vector<BYTE>(bytes, bytes + ::GetLengthSid(sid));
}

PSID UserSid()
{
    static std::vector<BYTE> sid = ReadUserSid();
    return sid.empty() ? nullptr : sid.data();
}

} // namespace

PathAccess DescriptorAccess(PSECURITY_DESCRIPTOR descriptor, PSID user, bool bFolder)
{
    PathAccess access;
    access.bExists = true;
    access.bFolder = bFolder;
    PSID ownerSid = nullptr;
    BOOL bDefaulted = FALSE;
    BOOL bPresent = FALSE;
    PACL acl = nullptr;
    const std::wstring userText = SidText(user);
    if (!::GetSecurityDescriptorOwner(descriptor, &ownerSid, &bDefaulted) ||
        !::GetSecurityDescriptorDacl(descriptor, &bPresent, &acl, &bDefaulted) || userText.empty()) {
        access.bChangeableByOthers = true;
        return access;
    }
    const std::wstring owner = SidText(ownerSid);
    access.bOwnedByUserOrAdmin = !owner.empty() && IsUserOrAdmin(owner, userText);
    // No access list at all lets everyone do everything.
    const ACCESS_MASK rights = bPresent && acl ? OthersRights(acl, owner, userText) : FILE_ALL_ACCESS;
    access.bChangeableByOthers = (rights & kChangeRights) != 0;
    access.bKeepsEntriesToTheirOwners =
        bFolder && access.bChangeableByOthers && (rights & kChangeRights & ~kAddEntryRights) == 0;
    return access;
}

PathAccess ReadPathAccess(const std::wstring& path)
{
    PathAccess access;
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return access;
    const bool bFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    // Opened as itself: a link or junction's own descriptor, not that of
    // what it leads to. One that cannot be read counts as another's.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const HANDLE file =
        ::CreateFileW(path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
            OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file != INVALID_HANDLE_VALUE &&
        ::GetSecurityInfo(file, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, nullptr,
            nullptr, nullptr, nullptr, &descriptor) == ERROR_SUCCESS &&
        UserSid()) {
        access = DescriptorAccess(descriptor, UserSid(), bFolder);
    } else {
        access.bExists = true;
        access.bFolder = bFolder;
        access.bChangeableByOthers = true;
    }
    ::LocalFree(descriptor);
    if (file != INVALID_HANDLE_VALUE)
        ::CloseHandle(file);
    access.bLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    return access;
}
