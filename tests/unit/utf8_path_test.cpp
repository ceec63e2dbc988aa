// SPDX-License-Identifier: MIT
#include "text/utf8_path.h"

#include <gtest/gtest.h>

namespace {

TEST(NativePath, RoundTripsAnyBytes)
{
    EXPECT_EQ(FromNativePath("/home/\xc3\xa9l\xc3\xa8ve/talvik"), L"/home/\u00e9l\u00e8ve/talvik");
    EXPECT_EQ(FromNativePath("/\xf0\x9f\x98\x80"), L"/\U0001F600");
    for (const std::string& bytes : {std::string("/tmp/a b/\"q\"/%$\\"), std::string("/bad\xff\xfe/x"),
             std::string("/over\xc0\xaf/long"), std::string("/cut\xe2\x82"), std::string("/sur\xed\xa0\x80/rogate")})
        EXPECT_EQ(ToNativePath(FromNativePath(bytes)), bytes);
}

} // namespace
