// SPDX-License-Identifier: MIT
#include "raw_book.h"
#include "reading/book_file.h"
#include "reading/book_writer.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#ifdef _WIN32
#include "platform/system/windows/windows_api.h"
#endif

namespace {

std::size_t OpenFileCount()
{
#ifdef _WIN32
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    return handles;
#else
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
#endif
}

class BookFileTest : public ::testing::Test
{
protected:
    std::wstring Put(const std::string& bytes)
    {
        m_dir.Write("maravelle.pdb", bytes);
        return FromFilesystemPath(m_dir / "maravelle.pdb");
    }
    std::wstring Read(const std::string& bytes, int index)
    {
        CBookFile book;
        book.CheckOpen(Put(bytes));
        return book.ReadVerse(index);
    }
    TempDir m_dir;
};

TEST_F(BookFileTest, ReadsEveryRecordOfAFullBook)
{
    std::vector<std::string> records;
    for (int i = 0; i <= 365; ++i)
        records.push_back("Reading " + std::to_string(i));
    const std::size_t filesOpen = OpenFileCount();
    CBookFile book;
    ASSERT_TRUE(book.CheckOpen(Put(BuildBook("test", records))));
    EXPECT_TRUE(book.IsOpened());
    for (int i = 0; i <= 365; ++i)
        ASSERT_EQ(book.ReadVerse(i), L"Reading " + std::to_wstring(i)) << i;
    EXPECT_EQ(book.ReadVerse(366), L"");
    EXPECT_EQ(book.ReadVerse(-1), L"");
    EXPECT_EQ(OpenFileCount(), filesOpen) << "no file stays open between reads";
}

TEST_F(BookFileTest, ConvertsTextForTheReadingBox)
{
    // LF becomes CR LF, an existing CR LF becomes CR CR LF, text ends at the
    // first NUL, and bytes are read as Windows-1252.
    const std::string body = std::string("one\ntwo\r\nthree\0hidden", 22) + "\x80\x93q\x94\xe9";
    const std::string book = RawBook(2, {94, 94 + 22}, body);
    EXPECT_EQ(Read(book, 0), L"one\r\ntwo\r\r\nthree");
    EXPECT_EQ(Read(book, 1), L"\u20AC\u201Cq\u201D\u00E9") << "the last record runs to the end of the file";
}

TEST_F(BookFileTest, MissingBookGivesEmptyTextUntilItAppears)
{
    CBookFile book;
    const std::wstring path = FromNativePath((m_dir / "maravelle.pdb").string());
    EXPECT_FALSE(book.CheckOpen(path));
    EXPECT_EQ(book.Path(), path);
    EXPECT_EQ(book.ReadVerse(1), L"");
    Put(BuildBook("late", {"title", "first"}));
    EXPECT_EQ(book.ReadVerse(1), L"first") << "each read opens the book anew";
    EXPECT_FALSE(book.CheckOpen(FromNativePath(m_dir.Path().string()))) << "a folder is not a book";
}

// A downloaded book may say anything; each of these must give what the file
// really holds, or nothing, and never read or allocate past the file.
TEST_F(BookFileTest, MalformedBooksNeverReadPastTheFile)
{
    const std::string text = "abcdef";
    // Record count 0, and a file shorter than its header.
    EXPECT_EQ(Read(RawBook(0, {}), 0), L"");
    EXPECT_EQ(Read(std::string(40, 'x'), 0), L"");
    EXPECT_EQ(Read("", 0), L"");
    // Offset 0 means no text.
    EXPECT_EQ(Read(RawBook(1, {0}, text), 0), L"");
    // End before start, and end equal to start.
    EXPECT_EQ(Read(RawBook(2, {90, 88}, text), 0), L"");
    EXPECT_EQ(Read(RawBook(2, {88, 88}, text), 0), L"");
    // Start and end past the end of the file: what the file has, or nothing.
    EXPECT_EQ(Read(RawBook(2, {94 + 2, 0xFFFFFFF0}, text), 0), L"cdef");
    EXPECT_EQ(Read(RawBook(1, {0xFFFFFFF0}, text), 0), L"");
    EXPECT_EQ(Read(RawBook(1, {200}, text), 0), L"");
    // A count larger than the table: only complete entries count, and the last
    // complete one runs to the end of the file.
    std::string cut = RawBook(500, {94, 97}, text);
    EXPECT_EQ(Read(cut, 0), L"abc");
    EXPECT_EQ(Read(cut, 1), L"def");
    EXPECT_EQ(Read(cut, 2), L"");
    cut = RawBook(3, {94}, text).substr(0, 78 + 8 + 3); // second entry cut short
    EXPECT_EQ(Read(cut, 0), L""); // offset 94 is past this shorter file
    EXPECT_EQ(Read(cut, 1), L"");
    // A successor without text does not cut this record to nothing.
    EXPECT_EQ(Read(RawBook(2, {94, 0}, text), 0), L"abcdef");
}

// Records near the start of the table are found with one read and those
// further on with two; both must give the same answers.
TEST_F(BookFileTest, RecordsFarIntoTheTableReadAsNearTheStart)
{
    std::vector<std::string> records;
    // Appended rather than "R" + ...: g++ 12 at -O3 warns falsely (-Wrestrict)
    // about the inlined insert at the front of a string.
    for (int i = 0; i < 1200; ++i)
        records.push_back(std::string("R").append(std::to_string(i)).append("\nline"));
    CBookFile book;
    ASSERT_TRUE(book.CheckOpen(Put(BuildBook("long", records))));
    for (int i = 0; i < 1200; ++i)
        ASSERT_EQ(book.ReadVerse(i), L"R" + std::to_wstring(i) + L"\r\nline") << i;
    EXPECT_EQ(book.ReadVerse(1200), L"");

    // Far into a malformed table: a successor without text, the last
    // complete entry of a table cut short, and entries past it.
    const std::string text = "abcdef";
    std::vector<uint32_t> offsets(700, 0);
    const uint32_t body = 78 + 8 * 700;
    offsets[650] = body + 2;
    offsets[699] = body + 4;
    const std::string malformed = RawBook(900, offsets, text);
    EXPECT_EQ(Read(malformed, 650), L"cdef") << "runs to the end of the file";
    EXPECT_EQ(Read(malformed, 651), L"");
    EXPECT_EQ(Read(malformed, 699), L"ef");
    EXPECT_EQ(Read(malformed, 700), L"") << "the table ends before the count says";
    EXPECT_EQ(Read(malformed, 899), L"");
}

TEST_F(BookFileTest, HugeRecordsAreReadOnlyAsFarAsAReadingCouldGo)
{
    // The first megabyte of a record, NUL or not.
    const std::string body(3 << 20, 'x');
    EXPECT_EQ(Read(RawBook(1, {86}, body), 0), std::wstring(1 << 20, L'x'));
    // A last record that runs to the end of a file of 64 GiB once asked for
    // all of it in memory and ended the program.
    const std::wstring path = Put(RawBook(1, {86}, "abc\n"));
    std::error_code error;
    std::filesystem::resize_file(m_dir / "maravelle.pdb", std::uintmax_t{64} << 30, error);
    if (error)
        GTEST_SKIP() << "no sparse file of 64 GiB here: " << error.message();
    CBookFile book;
    book.CheckOpen(path);
    EXPECT_EQ(book.ReadVerse(0), L"abc\r\n");
}

TEST_F(BookFileTest, RecordWithoutNulGivesAllItsBytes)
{
    const std::string body = "no end";
    EXPECT_EQ(Read(RawBook(1, {86}, body), 0), L"no end");
}

} // namespace
