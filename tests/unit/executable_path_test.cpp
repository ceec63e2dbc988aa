// SPDX-License-Identifier: MIT
#include "platform/system/executable_path.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(ExecutablePath, IsThisProgramsFullPath)
{
    const std::filesystem::path self = ToFilesystemPath(ExecutablePath());
    EXPECT_TRUE(self.is_absolute()) << self;
    EXPECT_EQ(self.stem(), "executable_path_test");
    EXPECT_TRUE(std::filesystem::is_regular_file(self)) << self;
}

} // namespace
