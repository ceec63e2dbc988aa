// SPDX-License-Identifier: MIT
#include "platform/system/folders.h"
#include "platform/system/windows/windows_api.h"
#include "scoped_env.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

TEST(WindowsFolders, AppDataIsTheUsersConfigFolder)
{
    const struct
    {
        std::optional<std::string> appData;
        const wchar_t* folder;
        const wchar_t* whyNone;
    } cases[] = {
        {"C:\\Users\\ana\\AppData\\Roaming", L"C:\\Users\\ana\\AppData\\Roaming\\", nullptr},
        {"C:\\Users\\ana\\AppData\\Roaming\\", L"C:\\Users\\ana\\AppData\\Roaming\\", nullptr},
        {"\\\\server\\profiles\\ana", L"\\\\server\\profiles\\ana\\", nullptr},
        {"\xc3\xa9\\relative", L"", L"APPDATA is not an absolute path"},
        {"C:Roaming", L"", L"APPDATA is not an absolute path"},
        {std::nullopt, L"", L"APPDATA is not set"},
    };
    for (const auto& c : cases) {
        ScopedEnv appData("APPDATA", c.appData);
        EXPECT_EQ(UserConfigFolder(), c.folder) << c.appData.value_or("(unset)");
        if (c.whyNone) {
            EXPECT_EQ(WhyNoUserConfigFolder(), c.whyNone) << c.appData.value_or("(unset)");
        }
    }
}

// A folder that cannot be made keeps the system's reason, not that of a
// later look for it. Under wine, Z: is the Linux side's root, where not even
// root may make a folder in /sys.
TEST(WindowsFolders, AFolderThatCannotBeMadeSaysWhy)
{
    const std::wstring refusing = L"Z:\\sys\\velmora-test";
    if (::CreateDirectoryW(refusing.c_str(), nullptr) || ::GetLastError() != ERROR_ACCESS_DENIED)
        GTEST_SKIP() << "no folder here refuses a new folder in it";
    for (const std::wstring& folder : {refusing, refusing + L"\\inner\\"}) {
        ::SetLastError(0);
        EXPECT_FALSE(CreateFolders(folder));
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << ToNativePath(folder);
    }
}

} // namespace
