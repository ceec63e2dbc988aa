// SPDX-License-Identifier: MIT
#include "scoped_env.h"
#include "service_doubles.h"
#include "settings/settings_state.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>

#ifdef _WIN32
#include "platform/windows/windows_api.h"
#else
#include "small_disk.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// chime 0, autorun 1, 2026-12-08 (Tuesday) 06:30:00.000
const std::string kRecord = Bytes({0, 0, 0, 0, 1, 0, 0, 0, 0xEA, 0x07, 12, 0, 2, 0, 8, 0, 6, 0, 30, 0, 0, 0, 0, 0});

class SettingsFileTest : public ::testing::Test
{
protected:
    TempDir m_dir;
    FakeServices m_services{m_dir.Path().string()};
    SettingsState m_state;

    void ExpectDefaults()
    {
        EXPECT_EQ(m_state.m_bAutoRun, 0);
        EXPECT_EQ(m_state.m_bChime, 1);
        EXPECT_EQ(DateTimeText(m_state.m_time.GetAsSystemTime()), "2026-12-07 08:00:00.000");
    }
};

TEST_F(SettingsFileTest, RecordLayoutIsLittleEndianAndExact)
{
    const SettingsRecord record = DecodeSettingsRecord(reinterpret_cast<const unsigned char*>(kRecord.data()));
    EXPECT_EQ(record.chime, 0);
    EXPECT_EQ(record.autorun, 1);
    EXPECT_EQ(DateTimeText(record.time), "2026-12-08 06:30:00.000");
    EXPECT_EQ(record.time.wDayOfWeek, 2);
    const auto bytes = EncodeSettingsRecord(record);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), kRecord);
}

TEST_F(SettingsFileTest, LoadsAndSavesTheFile)
{
    m_dir.Write("orv.dat", kRecord);
    ASSERT_TRUE(m_state.LoadSettings());
    EXPECT_EQ(m_state.m_bChime, 0);
    EXPECT_EQ(m_state.m_bAutoRun, 1);
    EXPECT_EQ(m_state.m_time, CTime(At(2026, 12, 8, 6, 30)));
    m_dir.Write("orv.dat", "");
    m_state.WriteSettingsFile();
    EXPECT_EQ(m_dir.Read("orv.dat"), kRecord);
}

TEST_F(SettingsFileTest, MissingEmptyShortOrImpossibleFilesGiveDefaults)
{
    EXPECT_FALSE(m_state.LoadSettings());
    ExpectDefaults();
    EXPECT_FALSE(std::filesystem::exists(m_dir / "orv.dat")) << "loading never writes";

    for (const std::string& bad : {std::string(), kRecord.substr(0, 23), kRecord.substr(0, 8)}) {
        m_dir.Write("orv.dat", bad);
        SettingsState state;
        EXPECT_FALSE(state.LoadSettings()) << bad.size() << " bytes";
        m_state = state;
        ExpectDefaults();
    }
    // Date-times that cannot be real: month 0 and 13, day 0 and 32, 31 April,
    // 29 February of a common year, hour 24, minute 60, second 60.
    for (auto [offset, value] : std::initializer_list<std::pair<int, int>>{
             {10, 0}, {10, 13}, {14, 0}, {14, 32}, {16, 24}, {18, 60}, {20, 60}}) {
        std::string bad = kRecord;
        bad[offset] = static_cast<char>(value);
        m_dir.Write("orv.dat", bad);
        SettingsState state;
        EXPECT_FALSE(state.LoadSettings()) << "byte " << offset << " = " << value;
    }
    std::string april31 = kRecord;
    april31[10] = 4, april31[14] = 31;
    m_dir.Write("orv.dat", april31);
    EXPECT_FALSE(m_state.LoadSettings());
}

TEST_F(SettingsFileTest, LongerFileUsesItsFirst24BytesAndIsRewrittenExact)
{
    m_dir.Write("orv.dat", kRecord + "trailing garbage");
    ASSERT_TRUE(m_state.LoadSettings());
    EXPECT_EQ(m_state.m_bAutoRun, 1);
    m_state.WriteSettingsFile();
    EXPECT_EQ(m_dir.Read("orv.dat"), kRecord);
}

TEST_F(SettingsFileTest, FailedSaveKeepsTheOldFile)
{
    m_dir.Write("orv.dat", kRecord);
    m_state.LoadSettings();
    m_state.m_record.chime = 1;
#ifdef _WIN32
    // Another program holding the file open without sharing its deletion
    // (an editor, a virus scanner) makes the replacement fail.
    const std::wstring path = FromFilesystemPath(m_dir / "orv.dat");
    const HANDLE held = ::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    m_state.WriteSettingsFile();
    ::CloseHandle(held);
#else
    // A file size limit below the record's 24 bytes makes the save fail, as
    // a full disk would, whoever runs the test.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{10, old.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    m_state.WriteSettingsFile();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
#endif
    EXPECT_EQ(m_dir.Read("orv.dat"), kRecord);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()), {}), 1) << "nothing left behind";
}

// Where the file lives: beside the program when its folder can be written,
// else in the user's own folder.
class SettingsPlaceTest : public ::testing::Test
{
protected:
    TempDir m_home;
#ifdef _WIN32
    ScopedEnv m_config{"APPDATA", (m_home / "config").string()};
    std::filesystem::path m_userFile = m_home / "config" / "Velmora" / "orv.dat";
#else
    ScopedEnv m_config{"XDG_CONFIG_HOME", (m_home / "config").string()};
    std::filesystem::path m_userFile = m_home / "config" / "velmora" / "orv.dat";
#endif

    static std::string Load()
    {
        SettingsState state;
        return state.LoadSettings() ? DateTimeText(state.m_record.time) : "defaults";
    }
    static void Save(const SYSTEMTIME& time)
    {
        SettingsState state;
        state.m_record = {1, 1, time};
        state.WriteSettingsFile();
    }
    static std::string ReadFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(SettingsPlaceTest, WritableProgramFolderKeepsTheFileBesideIt)
{
    TempDir program;
    FakeServices services(program.Path().string());
    Save(At(2027, 1, 2, 6, 30));
    EXPECT_EQ(Load(), "2027-01-02 06:30:00.000");
    EXPECT_TRUE(std::filesystem::exists(program / "orv.dat"));
    EXPECT_FALSE(std::filesystem::exists(m_home / "config")) << "nothing is made in the user's folder";

    // A file in the user's folder is read while there is none beside the
    // program; the next save goes beside the program, and is read from there.
    std::filesystem::remove(program / "orv.dat");
    std::filesystem::create_directories(m_userFile.parent_path());
    std::ofstream(m_userFile, std::ios::binary) << kRecord;
    EXPECT_EQ(Load(), "2026-12-08 06:30:00.000");
    Save(At(2027, 3, 4, 7, 0));
    EXPECT_EQ(Load(), "2027-03-04 07:00:00.000");
    EXPECT_EQ(ReadFile(m_userFile), kRecord);
}

// Under wine the tests run as root, whom no folder's permissions stop, and
// read-only mounts are Linux's.
#ifndef _WIN32
TEST_F(SettingsPlaceTest, ReadOnlyProgramFolderKeepsTheUsersOwnFile)
{
    // Root writes through permissions, so as root the folder is a read-only
    // mount.
    SmallDisk disk;
    TempDir plain;
    const bool root = ::geteuid() == 0;
    if (root && !disk.Mounted())
        GTEST_SKIP() << "mounting a small tmpfs to make read-only needs root";
    const std::filesystem::path program = root ? disk.Path() : plain.Path();
    FakeServices services(program.string());
    // A copy beside the program, as an administrator might leave one.
    std::ofstream(program / "orv.dat", std::ios::binary) << kRecord;
    ASSERT_TRUE(root ? disk.MakeReadOnly() : ::chmod(program.c_str(), 0555) == 0);

    EXPECT_EQ(Load(), "2026-12-08 06:30:00.000") << "the copy beside the program serves until the user saves";
    Save(At(2027, 1, 2, 6, 30));
    EXPECT_EQ(ReadFile(program / "orv.dat"), kRecord);
    EXPECT_EQ(ReadFile(m_userFile).size(), 24u);
    EXPECT_EQ(Load(), "2027-01-02 06:30:00.000") << "the user's own file wins over the copy beside the program";
    struct stat st
    { };
    ASSERT_EQ(::stat(m_userFile.parent_path().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "a new settings folder is the user's alone";

    // Without XDG_CONFIG_HOME (or with a relative one) it is ~/.config.
    ScopedEnv home("HOME", m_home.Path().string());
    for (const std::optional<std::string>& config : {std::optional<std::string>(), std::optional<std::string>("rel")}) {
        ScopedEnv unset("XDG_CONFIG_HOME", config);
        EXPECT_EQ(SettingsFilePath(), FromNativePath((m_home / ".config" / "velmora" / "orv.dat").string()));
    }
    // With no home at all there is nowhere else: the save fails as before.
    ScopedEnv noHome("HOME", std::nullopt);
    ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(SettingsFilePath(), g_strProgramDir + L"orv.dat");
}

#endif

} // namespace
