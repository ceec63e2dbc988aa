// SPDX-License-Identifier: MIT
#include "platform/system/executable_path.h"
#include "platform/system/windows/executable_path.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

namespace {

// Paths past MAX_PATH are cut short unless the room grows until they fit.
TEST(ModulePath, HoweverLongThePath)
{
    const std::wstring self = ExecutablePath();
    ASSERT_NE(self, L"");
    for (const std::size_t room : {1, 8, 64})
        EXPECT_EQ(ModulePath(nullptr, room), self) << room << " " << ToNativePath(self);
}

} // namespace
