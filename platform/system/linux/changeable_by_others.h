// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system/linux/access_list.h"

#include <functional>
#include <sys/types.h>
#include <vector>

// What decides who may change a file or folder.
struct FilePermissions
{
    mode_t mode;
    uid_t owner;
    gid_t group;
    // The access list, empty where the mode says it all.
    std::vector<AccessListEntry> accessList;
};

// Whether anyone but `user` and root may change the file: its owner, where
// that is someone else; everyone, through write for others; a named user of
// the access list; or a group, the file's own or a named one, that
// `hasOtherUsers` says holds someone else. The access list's user and group
// entries count only as far as its mask lets them. A group no one else is
// in, such as the user's private group, is the user's.
bool ChangeableByOthers(const FilePermissions& file, uid_t user, const std::function<bool(gid_t)>& hasOtherUsers);
