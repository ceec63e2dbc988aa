// SPDX-License-Identifier: MIT
#include "text/windows_1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1252ToWide, Windows1252)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    const std::wstring wide = Windows1252ToWide(all.data(), all.size());
    ASSERT_EQ(wide.size(), 255u);
    EXPECT_EQ(wide[0x41 - 1], L'A');
    EXPECT_EQ(wide[0x80 - 1], L'\u20AC');
    EXPECT_EQ(wide[0x81 - 1], L'\u0081') << "undefined bytes map to C1 controls";
    EXPECT_EQ(wide[0x92 - 1], L'\u2019');
    EXPECT_EQ(wide[0x9F - 1], L'\u0178');
    EXPECT_EQ(wide[0xA0 - 1], L'\u00A0');
    EXPECT_EQ(wide[0xFF - 1], L'\u00FF');
    // Every byte converts back to itself.
    std::string back;
    ASSERT_TRUE(WideToWindows1252(wide, back));
    EXPECT_EQ(back, all);
    EXPECT_FALSE(WideToWindows1252(L"\u0100", back));
    EXPECT_FALSE(WideToWindows1252(L"\U0001F600", back));
    // Conversion stops at NUL or at the size given.
    EXPECT_EQ(Windows1252ToWide("ab\0cd", 5), L"ab");
    EXPECT_EQ(Windows1252ToWide("abcd", 2), L"ab");
}

} // namespace
