// SPDX-License-Identifier: MIT
#include "platform/system/folders.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

// The settings folder is made with any folders missing above it, the user's
// alone, and the checks made of it leave nothing behind.
TEST(Folders, MadeWithTheFoldersAboveThemForTheUserAlone)
{
    TempDir dir;
    const std::wstring separator(1, static_cast<wchar_t>(fs::path::preferred_separator));
    const std::wstring deep =
        FromFilesystemPath(dir.Path()) + separator + L"Velmora\u00e9" + separator + L"inner" + separator;
    EXPECT_TRUE(CreateFolders(deep));
    EXPECT_TRUE(CreateFolders(deep)) << "folders that are there already";
    EXPECT_TRUE(IsFolderWritable(deep));
    EXPECT_TRUE(IsFolderPrivate(deep));
    EXPECT_EQ(std::distance(fs::directory_iterator(ToFilesystemPath(deep)), {}), 0) << "the checks leave nothing";
    EXPECT_FALSE(IsFolderWritable(deep + L"missing" + separator));
    EXPECT_FALSE(IsFolderPrivate(deep + L"missing" + separator));
}

} // namespace
