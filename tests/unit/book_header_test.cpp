// SPDX-License-Identifier: MIT
#include "raw_book.h"
#include "reading/book_header.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class BookHeaderTest : public ::testing::Test
{
protected:
    // `bytes` as an open book file.
    const CFile& Open(const std::string& bytes)
    {
        m_dir.Write("book.pdb", bytes);
        m_file.Close();
        EXPECT_TRUE(m_file.Open(FromNativePath((m_dir / "book.pdb").string()), CFile::modeRead));
        return m_file;
    }

    TempDir m_dir;
    CFile m_file;
};

TEST_F(BookHeaderTest, FieldsAreBigEndian)
{
    const BookHeader book(Open(RawBook(0x0102, {0x0A0B0C0D})));
    EXPECT_EQ(book.RecordCount(), 0x0102);
    EXPECT_EQ(book.RecordOffset(0), 0x0A0B0C0Du);
    EXPECT_EQ(book.RecordOffset(1), 0u) << "an entry past the end of the file reads as 0";
    EXPECT_EQ(BookHeader(Open("")).RecordCount(), 0) << "a header cut short counts no records";
}

// Near the table's start one read takes the count and both entries; further
// on they are read apart. Both ways must find the same places, and only
// whole entries count wherever the file ends.
TEST_F(BookHeaderTest, FindRecordNearAndFarAlike)
{
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t i = 0; i < 600; ++i)
        offsets.push_back(100000 + i);
    const std::string whole = RawBook(600, offsets);
    const auto entryEnd = [](std::uint64_t i) { return static_cast<std::size_t>(RecordEntryOffset(i + 1)); };
    struct Case
    {
        std::uint64_t index;
        std::size_t fileSize;
        RecordPlace expected;
    };
    for (const Case& c : std::vector<Case>{
             {0, whole.size(), {100000, 100001}},
             {365, whole.size(), {100365, 100366}},
             {550, whole.size(), {100550, 100551}},
             {599, whole.size(), {100599, 0}}, // the last record has no successor
             {600, whole.size(), {0, 0}}, // past the count
             {365, entryEnd(366) - 1, {100365, 0}}, // the next entry cut short
             {365, entryEnd(365) - 1, {0, 0}}, // its own entry cut short
             {550, entryEnd(551) - 1, {100550, 0}},
             {550, entryEnd(550) - 1, {0, 0}},
         }) {
        const RecordPlace place = BookHeader(Open(whole.substr(0, c.fileSize))).FindRecord(c.index);
        EXPECT_EQ(place.start, c.expected.start) << "record " << c.index << " of " << c.fileSize << " bytes";
        EXPECT_EQ(place.next, c.expected.next) << "record " << c.index << " of " << c.fileSize << " bytes";
    }
}

} // namespace
