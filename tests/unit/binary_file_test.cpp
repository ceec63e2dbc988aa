// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#ifdef _WIN32
#include "platform/system/windows/windows_api.h"
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

std::wstring Wide(const std::filesystem::path& p)
{
    return FromFilesystemPath(p);
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
#ifndef _WIN32
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    ASSERT_TRUE(file.Open((dir / "pipe").string(), CFile::modeReadAt)) << "no wait for a writer";
    EXPECT_EQ(file.ReadAt(0, buf, 1), 0u);
#endif
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

// Names that are not UTF-8 and named pipes are Linux's own; the Windows
// tests have names in UTF-16.
#ifndef _WIN32
TEST(CFile, PathsWithAnyCharacters)
{
    TempDir dir;
    const std::string name = "a b \"q\" %s $HOME \\ \xc3\xa9\xff";
    dir.Write(name, "x");
    CFile file;
    EXPECT_TRUE(file.Open(Wide(dir / name), CFile::modeRead));
}

TEST(CFile, NamedPipeWithoutWriterReadsAsEmpty)
{
    // Once, opening such a pipe waited for a writer that never came; the
    // child ends on its alarm rather than keep the test waiting.
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "maravelle.pdb").c_str(), 0644), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(20);
        CFile file;
        char byte;
        ::_exit(file.Open(Wide(dir / "maravelle.pdb"), CFile::modeRead) && file.Read(&byte, 1) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}
#endif

TEST(ReplaceFileContent, NewContentOrOldNeverHalf)
{
    TempDir dir;
    const std::wstring path = Wide(dir / "orv.dat");
    ASSERT_TRUE(ReplaceFileContent(path, "first", 5));
    EXPECT_EQ(dir.Read("orv.dat"), "first");
    ASSERT_TRUE(ReplaceFileContent(path, "second!", 7));
    EXPECT_EQ(dir.Read("orv.dat"), "second!");
    // Nothing but the file itself is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

#ifdef _WIN32
    ::SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(ReplaceFileContent(Wide(dir / "no-such-folder" / "orv.dat"), "x", 1));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND)) << "the reason is left for the caller";
#else
    if (::geteuid() != 0) { // root writes into read-only folders anyway
        std::filesystem::permissions(
            dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_FALSE(ReplaceFileContent(path, "third", 5));
        EXPECT_EQ(dir.Read("orv.dat"), "second!");
    }
    errno = 0;
    EXPECT_FALSE(ReplaceFileContent(Wide(dir / "no-such-folder" / "orv.dat"), "x", 1));
    EXPECT_EQ(errno, ENOENT) << "the reason is left for the caller to tell";
#endif
}

// Links and permissions as Linux has them; the Windows tests have their own.
#ifndef _WIN32

// The new content goes to a file made for it: a link planted beside the
// target under a name the replacement might take is never written through,
// and the target never becomes that link.
TEST(ReplaceFileContent, NeverWritesThroughALinkPlantedAtTheNewFilesName)
{
    TempDir dir;
    dir.Write("victim", "precious");
    dir.Write("b.pdb", "old book");
    const std::string planted = "b.pdb.new-" + std::to_string(::getpid());
    std::filesystem::create_symlink(dir / "victim", dir / planted);
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "b.pdb"), "new book", 8));
    EXPECT_EQ(dir.Read("victim"), "precious");
    EXPECT_FALSE(std::filesystem::is_symlink(dir / "b.pdb"));
    EXPECT_EQ(dir.Read("b.pdb"), "new book");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / planted)) << "what others put there is left alone";
}

std::filesystem::perms Mode(const std::filesystem::path& path)
{
    return std::filesystem::status(path).permissions() & std::filesystem::perms::mask;
}

// Settings kept private stay private, and a link to settings kept elsewhere
// stays a link, with the file it names holding the new content.
TEST(ReplaceFileContent, KeepsTheModeAndWritesThroughALink)
{
    using std::filesystem::perms;
    TempDir dir;
    const perms kPrivate = perms::owner_read | perms::owner_write;
    std::filesystem::create_directory(dir / "elsewhere");
    dir.Write("elsewhere/orv.dat", "old");
    std::filesystem::permissions(dir / "elsewhere/orv.dat", kPrivate);
    std::filesystem::create_symlink("elsewhere/orv.dat", dir / "orv.dat");
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "orv.dat"), "new", 3));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "orv.dat"));
    EXPECT_EQ(dir.Read("elsewhere/orv.dat"), "new");
    EXPECT_EQ(Mode(dir / "elsewhere/orv.dat"), kPrivate);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "elsewhere"), {}), 1) << "nothing left behind";

    dir.Write("plain.dat", "old");
    std::filesystem::permissions(dir / "plain.dat", kPrivate);
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "plain.dat"), "new", 3));
    EXPECT_EQ(Mode(dir / "plain.dat"), kPrivate);

    // A new file is made as before, 0644 less the umask.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "new.dat"), "new", 3));
    ::umask(mask);
    EXPECT_EQ(Mode(dir / "new.dat"), perms::owner_read | perms::owner_write | perms::group_read | perms::others_read);

    // A link to nothing is not followed to make a file somewhere else.
    std::filesystem::create_symlink("nowhere/orv.dat", dir / "dangling.dat");
    EXPECT_FALSE(ReplaceFileContent(Wide(dir / "dangling.dat"), "new", 3));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "dangling.dat"));
}

// What a replacement must never take the place of, each left as it was with
// errno saying why: a device or a pipe (renamed over, /dev/null would be gone
// for everyone), also through a link; a file made read-only, even for root;
// and a link that another user made, which could lead to any file of the
// user's.
TEST(ReplaceFileContent, RefusesWhatItMustNotReplace)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    std::filesystem::create_symlink("pipe", dir / "to-pipe");
    dir.Write("read-only", "kept");
    std::filesystem::permissions(dir / "read-only", std::filesystem::perms::owner_read);
    dir.Write("victim", "precious");
    std::filesystem::create_symlink("victim", dir / "planted");
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::lchown((dir / "planted").c_str(), 65534, 65534), 0);
    }

    const struct
    {
        const char* name;
        int error;
        bool needsRoot;
    } cases[] = {
        {"pipe", EINVAL, false}, {"to-pipe", EINVAL, false}, {"read-only", EACCES, false}, {"planted", EPERM, true}};
    for (const auto& c : cases) {
        if (c.needsRoot && !root)
            continue;
        errno = 0;
        EXPECT_FALSE(ReplaceFileContent(Wide(dir / c.name), "new", 3)) << c.name;
        EXPECT_EQ(errno, c.error) << c.name;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe"));
    EXPECT_EQ(dir.Read("read-only"), "kept");
    EXPECT_EQ(dir.Read("victim"), "precious");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 5) << "nothing left behind";
}
#endif

} // namespace
