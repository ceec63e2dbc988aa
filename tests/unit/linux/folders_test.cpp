// SPDX-License-Identifier: MIT
#include "platform/system/folders.h"
#include "shell.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A folder is the user's alone when nobody else can put a file or a link in
// it: theirs or root's, and writable by no other user, through its mode or
// its access list, a group of theirs alone (a user private group, with umask
// 002) not counting as another.
TEST(Folders, PrivateOnlyWhereNoOtherUserCanWrite)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving folders to other users and groups needs root";
    const struct
    {
        mode_t mode;
        uid_t owner;
        gid_t group;
        const char* accessList; // setfacl's entries, or none
        bool isPrivate;
    } cases[] = {
        {0700, 0, 0, "", true},
        {0755, 0, 0, "", true},
        {0775, 0, 0, "", true}, // root's own group
        {0775, 0, 65534, "", false},
        {0757, 0, 0, "", false},
        {01777, 0, 0, "", false},
        {0755, 65534, 65534, "", false}, // another user's
        {0755, 0, 0, "u:nobody:rwx,m::rwx", false},
        {0755, 0, 0, "u:nobody:rwx,m::r-x", true},
    };
    for (const auto& c : cases) {
        TempDir dir;
        ASSERT_EQ(::chown(dir.Path().c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(dir.Path().c_str(), c.mode), 0);
        if (*c.accessList) {
            ASSERT_EQ(Shell("setfacl -n -m " + std::string(c.accessList) + " " + dir.Path().string()).first, 0);
        }
        EXPECT_EQ(IsFolderPrivate(FromNativePath(dir.Path().string())), c.isPrivate)
            << std::oct << c.mode << " " << std::dec << c.owner << ":" << c.group << " " << c.accessList;
    }
    EXPECT_FALSE(IsFolderPrivate(L"/nonexistent/folder"));
}

} // namespace
