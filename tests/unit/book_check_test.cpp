// SPDX-License-Identifier: MIT
#include "raw_book.h"
#include "reading/book_check.h"
#include "reading/book_writer.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::string_literals;

std::vector<std::string> FullBook()
{
    std::vector<std::string> records;
    for (int i = 0; i <= 365; ++i)
        records.push_back("Reading " + std::to_string(i));
    return records;
}

class BookCheckTest : public ::testing::Test
{
protected:
    BookReport Check(const std::string& bytes)
    {
        m_dir.Write("book.pdb", bytes);
        return CheckBook(FromNativePath((m_dir / "book.pdb").string()));
    }
    TempDir m_dir;
};

TEST_F(BookCheckTest, MadeBookIsSound)
{
    const BookReport report = Check(BuildBook("Caf\xE9 book", FullBook()));
    EXPECT_TRUE(report.opened);
    EXPECT_EQ(report.name, "Caf\u00E9 book");
    EXPECT_EQ(report.type, "TEXt/Vlmr");
    EXPECT_EQ(report.recordCount, 366);
    EXPECT_EQ(report.textBytes, 10u * 9 + 90u * 10 + 266u * 11);
    EXPECT_THAT(report.problems, IsEmpty());
    EXPECT_THAT(report.warnings, IsEmpty());
}

TEST_F(BookCheckTest, MissingAndSurplusVersesAreWarningsOnly)
{
    std::vector<std::string> records = FullBook();
    records.resize(200);
    records[7].clear();
    BookReport report = Check(BuildBook("short", records));
    EXPECT_THAT(report.problems, IsEmpty());
    EXPECT_THAT(report.warnings,
        ElementsAre("verse 7 is empty", "verses 200 to 365 have no record: those days show the verse heading only"));

    records = FullBook();
    records.resize(365);
    EXPECT_THAT(Check(BuildBook("", records)).warnings,
        ElementsAre("verse 365 has no record: those days show the verse heading only"));
    EXPECT_THAT(Check(BuildBook("", {"title"})).warnings,
        ElementsAre("the book holds its title page alone: every day shows the verse heading only"));

    records = FullBook();
    records.resize(400, "extra");
    report = Check(BuildBook("long", records));
    EXPECT_THAT(report.problems, IsEmpty());
    EXPECT_THAT(report.warnings, ElementsAre("records 366 to 399 are never shown: the reader shows verses 1 to 365"));
}

TEST_F(BookCheckTest, ShortFilesAndTables)
{
    EXPECT_FALSE(CheckBook(FromNativePath((m_dir / "absent.pdb").string())).opened);
    EXPECT_FALSE(CheckBook(FromNativePath(m_dir.Path().string())).opened) << "a folder is not a book";
    EXPECT_THAT(Check(std::string(40, 'x')).problems,
        ElementsAre("the file is 40 bytes long, too short for the 78-byte header of a book"));
    EXPECT_THAT(Check(RawBook(0, {})).problems, ElementsAre("the header counts no records"));
    // Table of 3 entries of which the file holds one and a half.
    const std::string cut = RawBook(3, {0x5E, 0x61}, "ab\0cd\0"s).substr(0, 78 + 12);
    EXPECT_THAT(Check(cut).problems,
        ElementsAre("the record table is cut short: the file ends after 1 of its 3 entries",
            "record 0 starts at 94, past the end of the file (90 bytes)"));
}

// Each fault the reader meets in a downloaded book, one at a time; the
// records around it stay sound.
TEST_F(BookCheckTest, DamagedRecordsAreNamed)
{
    // Table of four entries ends at 110; text at 110.
    const std::string body = std::string("one\0two\0three\0four\0", 19);
    const auto problems = [&](std::vector<uint32_t> offsets, std::string text) {
        return Check(RawBook(4, offsets, text)).problems;
    };
    EXPECT_THAT(problems({110, 114, 118, 124}, body), IsEmpty());
    EXPECT_THAT(problems({110, 0, 118, 124}, body), ElementsAre("record 1 has offset 0, which holds no text"));
    EXPECT_THAT(problems({110, 114, 9000, 124}, body),
        ElementsAre("record 2 starts at 9000, past the end of the file (129 bytes)"));
    EXPECT_THAT(problems({110, 114, 118, 129}, body),
        ElementsAre("record 3 starts at 129, past the end of the file (129 bytes)"));
    EXPECT_THAT(problems({110, 118, 114, 124}, body),
        ElementsAre("the offsets are out of order: record 2 starts at 114, before record 1 at 118"));
    EXPECT_THAT(problems({110, 114, 100, 124}, body),
        ElementsAre("the offsets are out of order: record 2 starts at 100, before record 1 at 114",
            "record 2 starts at 100, inside the header and record table, which end at 110"));
    EXPECT_THAT(problems({110, 114, 118, 124}, body.substr(0, 18)), ElementsAre("record 3 does not end with a NUL"));
    EXPECT_THAT(problems({110, 114, 114, 124}, body), ElementsAre("record 1 does not end with a NUL"))
        << "a record of no bytes has no NUL either";
}

} // namespace
