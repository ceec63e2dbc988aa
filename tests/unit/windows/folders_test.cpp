// SPDX-License-Identifier: MIT
#include "platform/system/folders.h"
#include "scoped_env.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(WindowsFolders, AppDataIsTheUsersConfigFolder)
{
    const struct
    {
        std::optional<std::string> appData;
        const wchar_t* folder;
    } cases[] = {
        {"C:\\Users\\ana\\AppData\\Roaming", L"C:\\Users\\ana\\AppData\\Roaming\\"},
        {"C:\\Users\\ana\\AppData\\Roaming\\", L"C:\\Users\\ana\\AppData\\Roaming\\"},
        {"\\\\server\\profiles\\ana", L"\\\\server\\profiles\\ana\\"},
        {"\xc3\xa9\\relative", L""},
        {std::nullopt, L""},
    };
    for (const auto& c : cases) {
        ScopedEnv appData("APPDATA", c.appData);
        EXPECT_EQ(UserConfigFolder(), c.folder) << c.appData.value_or("(unset)");
    }
}

} // namespace
