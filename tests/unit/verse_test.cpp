// SPDX-License-Identifier: MIT
#include "reading/book_file.h"
#include "reading/book_writer.h"
#include "reading/calendar_rules.h"
#include "reading/verse.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

namespace {

TEST(VerseNumber, CountsDaysOfACommonYear)
{
    for (int year : {2026, 2004, 2000, 2100}) {
        EXPECT_EQ(VerseNumber(1, 1, year), 1);
        EXPECT_EQ(VerseNumber(31, 1, year), 31);
        EXPECT_EQ(VerseNumber(28, 2, year), 59);
        EXPECT_EQ(VerseNumber(1, 3, year), 60);
        EXPECT_EQ(VerseNumber(7, 12, year), 341);
        EXPECT_EQ(VerseNumber(31, 12, year), 365);
    }
}

TEST(VerseNumber, EveryDayOfAYearOnce)
{
    // Walking a common year day by day gives 1 ... 365 in order.
    int expected = 1;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= kDaysPerMonth[month - 1]; ++day)
            ASSERT_EQ(VerseNumber(day, month, 2026), expected++) << day << "/" << month;
    EXPECT_EQ(expected, 366);
}

TEST(VerseNumber, LeapDayFollowsTheProgramsRule)
{
    EXPECT_EQ(VerseNumber(29, 2, 2004), 1);
    EXPECT_EQ(VerseNumber(29, 2, 2024), 1);
    // Without the 400-year exception, 2000 is a common year.
    EXPECT_EQ(VerseNumber(29, 2, 2000), 60);
    EXPECT_FALSE(IsLeapYear(2000));
    EXPECT_FALSE(IsLeapYear(2100));
    EXPECT_TRUE(IsLeapYear(2008));
}

TEST(ComposeVerse, HeadingAndRecord)
{
    TempDir dir;
    std::vector<std::string> records;
    for (int i = 0; i <= 365; ++i)
        records.push_back("Text " + std::to_string(i) + "\nline");
    dir.Write("maravelle.pdb", BuildBook("t", records));
    CBookFile book;
    book.CheckOpen(FromNativePath((dir / "maravelle.pdb").string()));
    EXPECT_EQ(ComposeVerse(book, 7, 12, 2026), L"Verse 341:\r\n\r\nText 341\r\nline");
    EXPECT_EQ(ComposeVerse(book, 29, 2, 2004), L"Verse 1:\r\n\r\nText 1\r\nline");
    EXPECT_EQ(ComposeVerse(book, 29, 2, 2000), ComposeVerse(book, 1, 3, 2000));

    // A book with a "%s" in its text is shown as it stands.
    dir.Write("maravelle.pdb", BuildBook("t", {"title", "100% sure %s %d"}));
    EXPECT_EQ(ComposeVerse(book, 1, 1, 2026), L"Verse 1:\r\n\r\n100% sure %s %d");

    std::filesystem::remove(dir / "maravelle.pdb");
    EXPECT_EQ(ComposeVerse(book, 1, 1, 2026), L"Verse 1:\r\n\r\n");
}

} // namespace
