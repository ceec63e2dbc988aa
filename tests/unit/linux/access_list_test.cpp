// SPDX-License-Identifier: MIT
#include "platform/system/linux/access_list.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// user::rw-, user:65534:rwx, mask::r-x, other::r--, as Linux stores them.
const std::string kList("\x02\0\0\0"
                        "\x01\0\x06\0\xff\xff\xff\xff"
                        "\x02\0\x07\0\xfe\xff\0\0"
                        "\x10\0\x05\0\xff\xff\xff\xff"
                        "\x20\0\x04\0\xff\xff\xff\xff",
    36);

std::optional<std::vector<AccessListEntry>> Parse(const std::string& bytes)
{
    return ParseAccessList(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(AccessListTest, ReadsTheEntriesOfTheKnownVersionAlone)
{
    const auto entries = Parse(kList);
    ASSERT_TRUE(entries && entries->size() == 4);
    EXPECT_EQ((*entries)[1].tag, AccessTag::User);
    EXPECT_EQ((*entries)[1].permissions, 07);
    EXPECT_EQ((*entries)[1].id, 65534u);
    EXPECT_EQ((*entries)[2].tag, AccessTag::Mask);

    EXPECT_TRUE(Parse(kList.substr(0, 4)) && Parse(kList.substr(0, 4))->empty());
    std::string unknownTag = kList;
    unknownTag[4] = '\x40';
    std::string otherVersion = kList;
    otherVersion[0] = '\x01';
    for (const std::string& bytes : {std::string(), kList.substr(0, 3), kList.substr(0, 35), unknownTag, otherVersion})
        EXPECT_FALSE(Parse(bytes)) << bytes.size() << " bytes";
}

} // namespace
