// SPDX-License-Identifier: MIT
#include "platform/wide_string.h"

#include <gtest/gtest.h>

namespace {

TEST(Format, ConversionsTheProgramUses)
{
    EXPECT_EQ(Format(L"Verse %d:\r\n\r\n%s", {341, std::wstring(L"text")}), L"Verse 341:\r\n\r\ntext");
    EXPECT_EQ(Format(L"%d:%02d", {6, 5}), L"6:05");
    EXPECT_EQ(Format(L"%d:%02d", {12, 30}), L"12:30");
    EXPECT_EQ(Format(L"%02d", {123}), L"123");
    EXPECT_EQ(Format(L"%02d|%d", {-5, -12}), L"-5|-12");
    EXPECT_EQ(Format(L"100%% %s", {std::wstring(L"\u00e9\u20ac")}), L"100% \u00e9\u20ac");
    // A wide %s value containing conversions is not formatted again.
    EXPECT_EQ(Format(L"%s!", {std::wstring(L"%d %s")}), L"%d %s!");
    // Missing or mismatched values give nothing rather than undefined output.
    EXPECT_EQ(Format(L"a%db%sc", {}), L"abc");
    EXPECT_EQ(Format(L"%d", {std::wstring(L"x")}), L"");
    EXPECT_EQ(Format(L"50%", {}), L"50%");
    EXPECT_EQ(Format(L"%x", {1}), L"%x");
}

TEST(Format, WidthsBeyondAnyFieldAreCopiedAsTheyStand)
{
    EXPECT_EQ(Format(L"[%1024d]", {7}), L"[" + std::wstring(1023, L' ') + L"7]");
    EXPECT_EQ(Format(L"[%1025d]%d", {7}), L"[%1025d]7") << "the value goes to the next conversion";
    // Found by fuzzing: this width once wrapped around to 5, and a longer one
    // asked for more padding than memory holds and ended the program.
    EXPECT_EQ(Format(L"%18446744073709551621d", {7}), L"%18446744073709551621d");
    const std::wstring huge = L"%5" + std::wstring(40, L'2') + L"s";
    EXPECT_EQ(Format(huge, {std::wstring(L"x")}), huge);
}

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
