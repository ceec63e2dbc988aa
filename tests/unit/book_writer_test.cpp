// SPDX-License-Identifier: MIT
#include "reading/book_check.h"
#include "reading/book_file.h"
#include "reading/book_writer.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

namespace {

using Records = std::vector<std::string>;

Records Parse(const std::string& source)
{
    Records records;
    std::string error;
    EXPECT_TRUE(ParseBookSource(source, records, error)) << error;
    return records;
}

std::string ParseError(const std::string& source)
{
    Records records;
    std::string error;
    EXPECT_FALSE(ParseBookSource(source, records, error));
    return error;
}

TEST(ParseBookSource, BlocksBecomeRecordsInOrder)
{
    // Comments only at the very top; blank lines of spaces and tabs separate
    // blocks, however many; "." is an empty line; CR LF and a byte order mark
    // are what Windows editors write.
    EXPECT_EQ(Parse("# comment\n#\nTitle\nsub\n\n \t\n\nOne\n.\nend\n\n\n# not a comment\n"),
        (Records{"Title\nsub", "One\n\nend", "# not a comment"}));
    EXPECT_EQ(Parse("\xEF\xBB\xBF# comment\r\nTitle\r\n\r\nOne\r\ntwo"), (Records{"Title", "One\ntwo"}));
    EXPECT_EQ(Parse("  indented stays\n. \n"), (Records{"  indented stays\n. "}))
        << "only a line of exactly \".\" is an empty line";
}

TEST(ParseBookSource, TextIsWrittenInWindows1252)
{
    EXPECT_EQ(
        Parse("T\n\n\u201Cvoil\u00E0\u201D \u20AC, \u2014 \u0153"), (Records{"T", "\x93voil\xE0\x94 \x80, \x97 \x9C"}));
}

TEST(ParseBookSource, ErrorsNameTheLineAtFault)
{
    // The third line of a block starting on line 4, after a comment.
    EXPECT_EQ(ParseError("# c\nTitle\n\nfirst\nsecond\nan arrow \u2192 here\n"),
        "line 6: \"\u2192\" (U+2192) cannot be written in Windows-1252, the only text a book can hold");
    EXPECT_EQ(ParseError("Title\n\nok\nbad \xC3(\n"), "line 4: the text is not valid UTF-8");
    EXPECT_EQ(ParseError(std::string("Title\n\nab\0cd\n", 12)), "line 3: the line holds a NUL character");
    EXPECT_EQ(ParseError("Title\n\n\U0001F600\n"),
        "line 3: \"\U0001F600\" (U+1F600) cannot be written in Windows-1252, the only text a book can hold");
    EXPECT_EQ(ParseError("# nothing but comments\n\n\n"), "the source holds no readings");
    EXPECT_EQ(ParseError(""), "the source holds no readings");
}

TEST(ParseBookSource, AtMost65535Records)
{
    std::string source;
    for (int i = 0; i < 65535; ++i)
        source += "r\n\n";
    EXPECT_EQ(Parse(source).size(), 65535u);
    EXPECT_EQ(ParseError(source + "one too many\n"), "line 131071: a book holds at most 65535 records");
}

// What the tool makes, the check calls sound and the reader shows whole: a
// block as long as the reader takes of a record, its NUL included, and not
// one character longer.
TEST(ParseBookSource, BlocksAreNoLongerThanTheReaderShows)
{
    const std::size_t longest = CBookFile::kMaxRecordLength - 1;
    const Records records = Parse("Title\n\n" + std::string(longest, 'a') + "\n");
    TempDir dir;
    dir.Write("book.pdb", BuildBook("long", records));
    const BookReport report = CheckBook(FromNativePath((dir / "book.pdb").string()));
    EXPECT_EQ(report.problems, std::vector<std::string>{});
    EXPECT_EQ(report.textBytes, 5 + longest);

    EXPECT_EQ(ParseError("Title\n\n" + std::string(longest - 2, 'a') + "\n.\nb\n"),
        "line 3: the block holds 1048576 characters; the reader shows at most 1048575 of one")
        << "the lines of a block and their breaks count together";
    EXPECT_EQ(ParseError(std::string(longest + 1, 'a')),
        "line 1: the block holds 1048576 characters; the reader shows at most 1048575 of one")
        << "the title page too";
}

TEST(BuildBook, MadeBookReadsBackThroughTheReader)
{
    const Records records = Parse("Title\n\nOne\n.\nthree \u00E9\n\nTwo");
    TempDir dir;
    dir.Write("book.pdb", BuildBook("A name longer than the thirty-one bytes a header holds", records));
    CBookFile book;
    ASSERT_TRUE(book.CheckOpen(FromNativePath((dir / "book.pdb").string())));
    EXPECT_EQ(book.ReadVerse(0), L"Title");
    EXPECT_EQ(book.ReadVerse(1), L"One\r\n\r\nthree \u00E9");
    EXPECT_EQ(book.ReadVerse(2), L"Two");
    EXPECT_EQ(book.ReadVerse(3), L"");
    const std::string bytes = dir.Read("book.pdb");
    EXPECT_EQ(bytes.substr(0, 32), std::string("A name longer than the thirty-o") + '\0')
        << "the name is cut to 31 bytes and ends with a NUL";
}

} // namespace
