// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// What files are on Linux alone: names of any bytes, named pipes, links made
// by others, permission bits.

namespace {

using std::filesystem::perms;

constexpr perms kShared = perms::owner_read | perms::owner_write | perms::group_read | perms::others_read;

std::wstring Wide(const std::filesystem::path& p)
{
    return FromFilesystemPath(p);
}

std::filesystem::perms Mode(const std::filesystem::path& path)
{
    return std::filesystem::status(path).permissions() & perms::mask;
}

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
    CFile readAt;
    char byte;
    ASSERT_TRUE(readAt.Open((dir / "maravelle.pdb").string(), CFile::modeReadAt)) << "no wait for a writer";
    EXPECT_EQ(readAt.ReadAt(0, &byte, 1), 0u);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::alarm(20);
        CFile file;
        ::_exit(file.Open(Wide(dir / "maravelle.pdb"), CFile::modeRead) && file.Read(&byte, 1) == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

TEST(ReplaceFileContent, AFolderTheUserMayNotWriteKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders anyway";
    TempDir dir;
    dir.Write("orv.dat", "second!");
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_FALSE(ReplaceFileContent(Wide(dir / "orv.dat"), "third", 5));
    EXPECT_EQ(dir.Read("orv.dat"), "second!");
}

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

// Settings kept private stay private, also through a link to settings kept
// elsewhere, and a new file gets the usual mode.
TEST(ReplaceFileContent, KeepsTheMode)
{
    TempDir dir;
    const perms kPrivate = perms::owner_read | perms::owner_write;
    std::filesystem::create_directory(dir / "elsewhere");
    dir.Write("elsewhere/orv.dat", "old");
    std::filesystem::permissions(dir / "elsewhere/orv.dat", kPrivate);
    std::filesystem::create_symlink("elsewhere/orv.dat", dir / "orv.dat");
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "orv.dat"), "new", 3));
    EXPECT_EQ(Mode(dir / "elsewhere/orv.dat"), kPrivate);

    dir.Write("plain.dat", "old");
    std::filesystem::permissions(dir / "plain.dat", kPrivate);
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "plain.dat"), "new", 3));
    EXPECT_EQ(Mode(dir / "plain.dat"), kPrivate);

    // A new file is made as before, 0644 less the umask.
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "new.dat"), "new", 3));
    ::umask(mask);
    EXPECT_EQ(Mode(dir / "new.dat"), kShared);
}

// While the new content is written only the user can read it, even where
// the old file lets others: the new file is made so, never made open and then
// narrowed (its attributes would change), and gets the old mode once complete.
TEST(ReplaceFileContent, TheNewFileIsTheUsersAloneUntilItIsComplete)
{
    TempDir dir;
    for (const perms mode : {perms::owner_read | perms::owner_write, kShared}) {
        dir.Write("b.pdb", "old");
        std::filesystem::permissions(dir / "b.pdb", mode);
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(::inotify_add_watch(watch, dir.Path().c_str(), IN_CREATE | IN_ATTRIB), 0);
        ASSERT_TRUE(ReplaceFileContent(Wide(dir / "b.pdb"), [&](const ContentWriter& write) {
            alignas(inotify_event) char events[4096] = {};
            const ssize_t size = ::read(watch, events, sizeof events);
            const auto* created = reinterpret_cast<const inotify_event*>(events);
            EXPECT_TRUE(size == static_cast<ssize_t>(sizeof *created + created->len) && created->mask & IN_CREATE)
                << "the new file was made and nothing else, " << size << " bytes of events";
            EXPECT_EQ(Mode(dir / created->name) & ~(perms::owner_read | perms::owner_write), perms::none);
            return write("new", 3);
        }));
        ::close(watch);
        EXPECT_EQ(Mode(dir / "b.pdb"), mode);
    }
}

// A replacement killed before its rename leaves its new file behind; the
// next replacement of the same file removes the user's own whose process has
// ended, and nothing else.
TEST(ReplaceFileContent, RemovesWhatKilledReplacementsLeft)
{
    TempDir dir;
    const pid_t ended = ::fork();
    if (ended == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::string gone = "b.pdb.new-" + std::to_string(ended);
    const bool root = ::geteuid() == 0;
    const struct
    {
        std::string name;
        bool kept;
    } cases[] = {
        {gone + "-0123abcd", false}, // its process has ended
        {"b.pdb.new-" + std::to_string(::getpid()) + "-0123abcd", true}, // still under way
        {"c" + gone.substr(1) + "-0123abcd", true}, // another file's
        {gone + "-0123abcd.txt", true}, // a name no replacement gives
        {gone + "-fedcba98", root}, // another user's, where root can make one
    };
    for (const auto& c : cases)
        dir.Write(c.name, "left");
    if (root) {
        ASSERT_EQ(::chown((dir / cases[4].name).c_str(), 65534, 65534), 0);
    }
    ASSERT_TRUE(ReplaceFileContent(Wide(dir / "b.pdb"), "new", 3));
    for (const auto& c : cases)
        EXPECT_EQ(std::filesystem::exists(dir / c.name), c.kept) << c.name;
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

} // namespace
