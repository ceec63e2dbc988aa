// SPDX-License-Identifier: MIT
#include "platform/daily_start/replaceable_program.h"
#include "text/wide_string.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Steps from the program up to the root, changed one at a time from a path
// that is the user's alone; each system reads its own owners and rights
// into them.
TEST(ReplaceableProgramTest, WhoElseCouldReplaceTheProgramAndWhy)
{
    using Change = void (*)(std::vector<PathStepAccess>&);
    const struct
    {
        const char* name;
        Change change;
        const wchar_t* why; // empty when no one else can replace the program
    } cases[] = {
        {"ours", [](auto&) {}, L""},
        {"missing", [](auto& s) { s[0].access.bExists = false; }, L"/opt/app/talvik is missing"},
        {"a folder where the program should be", [](auto& s) { s[0].access.bFolder = true; },
            L"/opt/app/talvik is missing"},
        {"a link", [](auto& s) { s[0].access.bLink = true; }, L"/opt/app/talvik is a link"},
        {"another user's file", [](auto& s) { s[0].access.bOwnedByUserOrAdmin = false; },
            L"/opt/app/talvik belongs to another user"},
        {"another user's folder", [](auto& s) { s[1].access.bOwnedByUserOrAdmin = false; },
            L"/opt/app belongs to another user"},
        {"others change the folder", [](auto& s) { s[1].access.bChangeableByOthers = true; },
            L"other users can change /opt/app"},
        {"a sticky folder",
            [](auto& s) { s[2].access.bChangeableByOthers = s[2].access.bKeepsEntriesToTheirOwners = true; }, L""},
        {"others change the file, though it keeps entries",
            [](auto& s) { s[0].access.bChangeableByOthers = s[0].access.bKeepsEntriesToTheirOwners = true; },
            L"other users can change /opt/app/talvik"},
    };
    const PathAccess file{true, false, false, true, false, false};
    PathAccess folder = file;
    folder.bFolder = true;
    for (const auto& c : cases) {
        std::vector<PathStepAccess> steps{
            {L"/opt/app/talvik", file}, {L"/opt/app", folder}, {L"/opt", folder}, {L"/", folder}};
        c.change(steps);
        EXPECT_EQ(WhyOthersCanReplace(steps), c.why) << c.name;
    }
}

// The steps read: the program, then each folder up to the root its path
// starts at, which on Windows may be a drive, a share, or either behind
// "\\?\". A path that starts at no root is not followed.
TEST(ReplaceableProgramTest, TheProgramsPathIsReadUpToItsRoot)
{
    const struct
    {
        const wchar_t* program;
        std::vector<std::wstring> steps;
    } cases[] = {
#ifdef _WIN32
        {L"C:\\Program Files\\Velmora/talvik.exe",
            {L"C:\\Program Files\\Velmora/talvik.exe", L"C:\\Program Files\\Velmora", L"C:\\Program Files", L"C:\\"}},
        {L"\\\\server\\share\\Velmora\\talvik.exe",
            {L"\\\\server\\share\\Velmora\\talvik.exe", L"\\\\server\\share\\Velmora", L"\\\\server\\share\\"}},
        {L"\\\\?\\C:\\Velmora\\talvik.exe", {L"\\\\?\\C:\\Velmora\\talvik.exe", L"\\\\?\\C:\\Velmora", L"\\\\?\\C:\\"}},
        {L"\\\\?\\UNC\\server\\share\\talvik.exe",
            {L"\\\\?\\UNC\\server\\share\\talvik.exe", L"\\\\?\\UNC\\server\\share\\"}},
        {L"\\Velmora\\talvik.exe", {}},
        {L"C:talvik.exe", {}},
        {L"\\\\server\\talvik.exe", {}},
#else
        {L"/opt//app/talvik", {L"/opt//app/talvik", L"/opt//app", L"/opt", L"/"}},
#endif
        {L"talvik.exe", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PathAndFoldersAbove(c.program), c.steps) << ToUtf8(c.program);
    EXPECT_EQ(WhyOthersCanReplaceProgram(L"talvik.exe"), L"talvik.exe is not a full path");
}

} // namespace
