// SPDX-License-Identifier: MIT
#include "text/wide_string.h"

#include <gtest/gtest.h>

namespace {

TEST(ReplaceAll, ScansLeftToRightWithoutRescanning)
{
    std::wstring text = L"a\nb\r\nc\n";
    EXPECT_EQ(ReplaceAll(text, L"\n", L"\r\n"), 3);
    EXPECT_EQ(text, L"a\r\nb\r\r\nc\r\n");
    text = L"aaa";
    EXPECT_EQ(ReplaceAll(text, L"a", L"aa"), 3);
    EXPECT_EQ(text, L"aaaaaa");
    text = L"aaaa";
    EXPECT_EQ(ReplaceAll(text, L"aa", L"b"), 2);
    EXPECT_EQ(text, L"bb");
    text = L"abc";
    EXPECT_EQ(ReplaceAll(text, L"", L"x"), 0);
    EXPECT_EQ(ReplaceAll(text, L"z", L"x"), 0);
    EXPECT_EQ(text, L"abc");
}

} // namespace
