// SPDX-License-Identifier: MIT
#include "platform/system/executable_path.h"
#include "platform/system/linux/executable_path.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

TEST(ExecutablePath, TheMarkOfAReplacedExecutableIsDropped)
{
    TempDir dir;
    EXPECT_EQ(ExecutablePath(), FromNativePath(fs::read_symlink("/proc/self/exe").native()));
    EXPECT_EQ(WithoutDeletedMark("/opt/velmora/talvik"), "/opt/velmora/talvik");
    // After an upgrade in place the new copy lies where the program started.
    const std::string program = (dir / "my apps" / "talvik").native();
    EXPECT_EQ(WithoutDeletedMark(program + " (deleted)"), program);
    dir.Write("other (deleted)", "not this program");
    EXPECT_EQ(WithoutDeletedMark((dir / "other (deleted)").native()), (dir / "other").native());
    EXPECT_EQ(WithoutDeletedMark(" (deleted)"), " (deleted)");
}

TEST(ExecutablePath, AProgramReallyNamedWithTheMarkKeepsIt)
{
    TempDir dir;
    const fs::path named = dir / "talvik (deleted)";
    std::error_code error;
    fs::create_hard_link(fs::read_symlink("/proc/self/exe"), named, error);
    if (error)
        GTEST_SKIP() << "cannot link the test program into " << dir.Path() << ": " << error.message();
    EXPECT_EQ(WithoutDeletedMark(named.native()), named.native());
}

} // namespace
