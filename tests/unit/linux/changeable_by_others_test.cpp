// SPDX-License-Identifier: MIT
#include "platform/system/linux/changeable_by_others.h"

#include <gtest/gtest.h>

namespace {

// The user is 1000, whose private group is 1000; group 100 holds others too.
TEST(ChangeableByOthersTest, OnlyTheUserAndRootMayChangeWhatIsTheirs)
{
    using T = AccessTag;
    const AccessListEntry owner{T::Owner, 07, 0}, group{T::OwningGroup, 05, 0}, other{T::Other, 05, 0};
    const struct
    {
        const char* name;
        FilePermissions file;
        bool bChangeable;
    } cases[] = {
        {"ours", {0755, 1000, 100, {}}, false},
        {"root's", {0755, 0, 0, {}}, false},
        {"another user's", {0700, 1001, 1000, {}}, true},
        {"everyone writes", {0757, 1000, 1000, {}}, true},
        {"our private group writes", {0775, 1000, 1000, {}}, false},
        {"a group with others writes", {0775, 1000, 100, {}}, true},
        {"a named user writes", {0775, 1000, 1000, {owner, {T::User, 07, 1001}, group, {T::Mask, 07, 0}, other}}, true},
        {"the mask takes a named user's write",
            {0755, 1000, 1000, {owner, {T::User, 07, 1001}, group, {T::Mask, 05, 0}, other}}, false},
        {"named entries for the user and root",
            {0775, 1000, 100, {owner, {T::User, 07, 1000}, {T::User, 06, 0}, group, {T::Mask, 07, 0}, other}}, false},
        {"a named group with others writes",
            {0775, 1000, 1000, {owner, group, {T::Group, 02, 100}, {T::Mask, 07, 0}, other}}, true},
        {"our private group, named", {0775, 1000, 100, {owner, group, {T::Group, 07, 1000}, {T::Mask, 07, 0}, other}},
            false},
        {"the owning group writes, masked",
            {0755, 1000, 100, {owner, {T::OwningGroup, 07, 0}, {T::Group, 05, 1000}, {T::Mask, 05, 0}, other}}, false},
        {"the owning group writes", {0775, 1000, 100, {owner, {T::OwningGroup, 07, 0}, other}}, true},
        {"others write by the list alone", {0755, 1000, 1000, {owner, group, {T::Other, 02, 0}}}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ChangeableByOthers(c.file, 1000, [](gid_t gid) { return gid != 1000; }), c.bChangeable) << c.name;
}

} // namespace
