// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <thread>
#ifdef _WIN32
#include "platform/system/windows/windows_api.h"
#endif

namespace {

namespace fs = std::filesystem;

std::wstring Wide(const fs::path& p)
{
    return FromFilesystemPath(p);
}

std::size_t EntryCount(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(CFile, ReadSeekLengthAndClose)
{
    TempDir dir;
    dir.Write("f", "0123456789");
    CFile file;
    ASSERT_TRUE(file.Open(Wide(dir / "f"), CFile::modeRead));
    EXPECT_EQ(file.GetLength(), 10u);
    ASSERT_TRUE(file.Seek(7));
    char buf[8] = {};
    EXPECT_EQ(file.Read(buf, sizeof buf), 3u) << "a read stops at the end of the file";
    EXPECT_EQ(std::string(buf, 3), "789");
    EXPECT_TRUE(file.Seek(100));
    EXPECT_EQ(file.Read(buf, 1), 0u);
    file.Close();
    file.Close(); // closing twice does nothing
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(file.Read(buf, 1), 0u);
    EXPECT_FALSE(file.Open(Wide(dir / "missing"), CFile::modeRead));
}

TEST(CFile, ReadAtLeavesThePositionAlone)
{
    TempDir dir;
    dir.Write("f", "0123456789");
    CFile file;
    char buf[8] = {};
    EXPECT_EQ(file.ReadAt(0, buf, 1), 0u) << "nothing is open";
    ASSERT_TRUE(file.Open(Wide(dir / "f"), CFile::modeRead));
    ASSERT_TRUE(file.Seek(2));
    EXPECT_EQ(file.ReadAt(6, buf, sizeof buf), 4u) << "a read stops at the end of the file";
    EXPECT_EQ(std::string(buf, 4), "6789");
    EXPECT_EQ(file.ReadAt(10, buf, 1), 0u);
    EXPECT_EQ(file.ReadAt(UINT64_MAX, buf, 1), 0u);
    EXPECT_EQ(file.Read(buf, 2), 2u);
    EXPECT_EQ(std::string(buf, 2), "23") << "Read goes on from where Seek left it";
}

// Opened for ReadAt alone, whatever the path names opens at once, and what is
// not a file reads as nothing.
TEST(CFile, OpenedForReadAtAnythingButAFileReadsAsNothing)
{
    TempDir dir;
    dir.Write("f", "0123456789");
    CFile file;
    char buf[4] = {};
    ASSERT_TRUE(file.Open((dir / "f").string(), CFile::modeReadAt));
    EXPECT_EQ(file.ReadAt(3, buf, 2), 2u);
    EXPECT_EQ(std::string(buf, 2), "34");
    EXPECT_FALSE(file.Open((dir / "missing").string(), CFile::modeReadAt));
    ASSERT_TRUE(file.Open(dir.Path().string(), CFile::modeReadAt));
    EXPECT_EQ(file.ReadAt(0, buf, 1), 0u);
}

TEST(CFile, CreateEmptiesAndWrites)
{
    TempDir dir;
    dir.Write("f", "old content");
    {
        CFile file;
        ASSERT_TRUE(file.Open(Wide(dir / "f"), CFile::modeCreate));
        EXPECT_TRUE(file.Write("new", 3));
    } // closed by the destructor
    EXPECT_EQ(dir.Read("f"), "new");
}

// Names beyond the ANSI code page and past U+FFFF reach the system whole,
// whether given wide or as UTF-8.
TEST(CFile, NamesInAnyScript)
{
    TempDir dir;
    const fs::path folder = dir.Path() / ToFilesystemPath(L"\u00e9\u6f22\U0001F600");
    const std::wstring name = L"\u043a\u043d\u0438\u0433\u0430 \U0001F600.pdb";
    const std::wstring book = Wide(folder / ToFilesystemPath(name));
    ASSERT_TRUE(fs::create_directory(folder));
    ASSERT_TRUE(ReplaceFileContent(book, "first", 5));
    ASSERT_TRUE(ReplaceFileContent(book, "second", 6));
    ASSERT_EQ(EntryCount(folder), 1u) << "nothing but the book is left in its folder";
    EXPECT_EQ(Wide(fs::directory_iterator(folder)->path().filename()), name);

    CFile file;
    char text[8] = {};
    ASSERT_TRUE(file.Open(ToNativePath(book), CFile::modeRead)) << "UTF-8, as the book tool passes names";
    EXPECT_EQ(file.Read(text, sizeof text), 6u);
    EXPECT_EQ(std::string(text, 6), "second");
    EXPECT_EQ(Wide(ToFilesystemPath(book)), book);
}

TEST(ReplaceFileContent, NewContentOrOldNeverHalf)
{
    TempDir dir;
    const std::wstring path = Wide(dir / "orv.dat");
    ASSERT_TRUE(ReplaceFileContent(path, "first", 5));
    EXPECT_EQ(dir.Read("orv.dat"), "first");
    ASSERT_TRUE(ReplaceFileContent(path, "second!", 7));
    EXPECT_EQ(dir.Read("orv.dat"), "second!");
    // Nothing but the file itself is left behind.
    EXPECT_EQ(EntryCount(dir.Path()), 1u);

#ifdef _WIN32
    ::SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(ReplaceFileContent(Wide(dir / "no-such-folder" / "orv.dat"), "x", 1));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND)) << "the reason is left for the caller";
#else
    errno = 0;
    EXPECT_FALSE(ReplaceFileContent(Wide(dir / "no-such-folder" / "orv.dat"), "x", 1));
    EXPECT_EQ(errno, ENOENT) << "the reason is left for the caller to tell";
#endif
}

// The reader holds the book open for a moment at each reading. Windows lets
// no file that is open be replaced, so there a replacement made meanwhile
// waits for the reader to close it rather than fail.
TEST(ReplaceFileContent, AFileOpenForReadingIsReplacedStill)
{
    TempDir dir;
    dir.Write("maravelle.pdb", "old book");
    const std::wstring path = Wide(dir / "maravelle.pdb");
    CFile reading;
    ASSERT_TRUE(reading.Open(path, CFile::modeRead));
    std::thread reader([&] {
        char text[8] = {};
        EXPECT_EQ(reading.ReadAt(0, text, sizeof text), 8u);
        EXPECT_EQ(std::string(text, 8), "old book");
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        reading.Close();
    });
    EXPECT_TRUE(ReplaceFileContent(path, "new book", 8));
    reader.join();
    EXPECT_EQ(dir.Read("maravelle.pdb"), "new book");
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

// Makes `link` a symbolic link to `target`; false where the system made none.
bool MakeLink(const fs::path& target, const fs::path& link)
{
#ifdef _WIN32
    return ::CreateSymbolicLinkW(link.c_str(), target.c_str(), 0);
#else
    std::error_code error;
    fs::create_symlink(target, link, error);
    return !error;
#endif
}

// Settings kept elsewhere through a link stay a link, with the file it names
// holding the new content; a link to nothing is not followed to make a file
// somewhere else.
TEST(ReplaceFileContent, ALinkIsWrittenThroughAndALinkToNothingRefused)
{
    TempDir dir;
    fs::create_directory(dir / "elsewhere");
    dir.Write("elsewhere/orv.dat", "old");
    const fs::path target = dir / "elsewhere" / "orv.dat";
    // wine 8 says it made the link and makes none; the end-to-end tests
    // plant links of the Linux side for it.
    if (!MakeLink(target, dir / "orv.dat") || !fs::exists(dir / "orv.dat"))
        GTEST_SKIP() << "no symbolic links here";
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "orv.dat"), "new", 3));
    EXPECT_TRUE(fs::is_symlink(dir / "orv.dat"));
    EXPECT_EQ(dir.Read("elsewhere/orv.dat"), "new");
    EXPECT_EQ(EntryCount(dir / "elsewhere"), 1u) << "nothing left behind";

    const fs::path gone = dir / "elsewhere" / "orv.dat.gone";
    ASSERT_TRUE(MakeLink(gone, dir / "dangling.dat"));
    EXPECT_FALSE(ReplaceFileContent(Wide(dir / "dangling.dat"), "new", 3));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.dat"));
    EXPECT_FALSE(fs::exists(gone));
}

} // namespace
