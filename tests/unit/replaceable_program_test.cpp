// SPDX-License-Identifier: MIT
#include "platform/daily_start/replaceable_program.h"

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
        {"missing", [](auto& s) { s[0].bExists = false; }, L"/opt/app/talvik is missing"},
        {"a link", [](auto& s) { s[0].bLink = true; }, L"/opt/app/talvik is a link"},
        {"another user's file", [](auto& s) { s[0].bOwnedByUserOrAdmin = false; },
            L"/opt/app/talvik belongs to another user"},
        {"another user's folder", [](auto& s) { s[1].bOwnedByUserOrAdmin = false; },
            L"/opt/app belongs to another user"},
        {"others write the folder", [](auto& s) { s[1].bWritableByOthers = true; }, L"other users can change /opt/app"},
        {"a sticky folder", [](auto& s) { s[2].bWritableByOthers = s[2].bKeepsEntriesToTheirOwners = true; }, L""},
        {"others write the file, though it keeps entries",
            [](auto& s) { s[0].bWritableByOthers = s[0].bKeepsEntriesToTheirOwners = true; },
            L"other users can change /opt/app/talvik"},
    };
    for (const auto& c : cases) {
        std::vector<PathStepAccess> steps{{L"/opt/app/talvik"}, {L"/opt/app"}, {L"/opt"}, {L"/"}};
        c.change(steps);
        EXPECT_EQ(WhyOthersCanReplace(steps), c.why) << c.name;
    }
}

} // namespace
