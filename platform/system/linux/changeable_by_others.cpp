// SPDX-License-Identifier: MIT
#include "platform/system/linux/changeable_by_others.h"

#include <sys/stat.h>

bool ChangeableByOthers(const FilePermissions& file, uid_t user, const std::function<bool(gid_t)>& hasOtherUsers)
{
    const auto isUsersOrRoot = [user](std::uint32_t uid) { return uid == user || uid == 0; };
    if (!isUsersOrRoot(file.owner) || (file.mode & S_IWOTH))
        return true;
    if (file.accessList.empty())
        return (file.mode & S_IWGRP) && hasOtherUsers(file.group);
    // A list without a mask has no named entries for it to limit.
    std::uint16_t mask = 07;
    for (const AccessListEntry& entry : file.accessList)
        if (entry.tag == AccessTag::Mask)
            mask = entry.permissions;
    for (const AccessListEntry& entry : file.accessList) {
        const bool bWrites = entry.permissions & kAccessWrite;
        const bool bMaskedWrites = bWrites && (mask & kAccessWrite);
        switch (entry.tag) {
        case AccessTag::User:
            if (bMaskedWrites && !isUsersOrRoot(entry.id))
                return true;
            break;
        case AccessTag::OwningGroup:
            if (bMaskedWrites && hasOtherUsers(file.group))
                return true;
            break;
        case AccessTag::Group:
            if (bMaskedWrites && hasOtherUsers(entry.id))
                return true;
            break;
        case AccessTag::Other:
            if (bWrites)
                return true;
            break;
        case AccessTag::Owner:
        case AccessTag::Mask:
            break;
        }
    }
    return false;
}
