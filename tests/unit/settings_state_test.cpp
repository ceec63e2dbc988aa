// SPDX-License-Identifier: MIT
#include "scoped_env.h"
#include "service_doubles.h"
#include "settings/settings_state.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include "platform/system/executable_path.h"
#include "platform/system/windows/windows_api.h"
#else
#include "small_disk.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// chime 0, autorun 1, 2026-12-08 (Tuesday) 06:30:00.000
const std::string kRecord = Bytes({0, 0, 0, 0, 1, 0, 0, 0, 0xEA, 0x07, 12, 0, 2, 0, 8, 0, 6, 0, 30, 0, 0, 0, 0, 0});

class SettingsStateTest : public ::testing::Test
{
protected:
    TempDir m_dir;
    FakeServices m_services{m_dir.Path().string()};
    SettingsState m_state;

    void ExpectDefaults()
    {
        EXPECT_EQ(m_state.m_edited.m_bAutoRun, 0);
        EXPECT_EQ(m_state.m_edited.m_bChime, 1);
        EXPECT_EQ(DateTimeText(m_state.m_edited.m_time.GetAsSystemTime()), "2026-12-07 08:00:00.000");
    }
};

TEST_F(SettingsStateTest, LoadsAndSavesTheFile)
{
    m_dir.Write("orv.dat", kRecord);
    ASSERT_TRUE(m_state.LoadSettings());
    EXPECT_EQ(m_state.m_edited.m_bChime, 0);
    EXPECT_EQ(m_state.m_edited.m_bAutoRun, 1);
    EXPECT_EQ(m_state.m_edited.m_time, CTime(At(2026, 12, 8, 6, 30)));
    m_dir.Write("orv.dat", "");
    m_state.WriteSettingsFile();
    EXPECT_EQ(m_dir.Read("orv.dat"), kRecord);
}

TEST_F(SettingsStateTest, ConfirmSavesTheEditsWithTheNextStartsDate)
{
    // Chime off, autorun on, 06:30, confirmed at 07:00 on 6 December: the
    // notice, then the booking, then the file with 7 December's date.
    m_services.now = At(2026, 12, 6, 7, 0);
    m_state.LoadSettings();
    m_state.m_edited = {1, 0, CTime(At(2026, 12, 6, 6, 30))};
    m_state.Confirm(nullptr);
    EXPECT_EQ(m_services.events, (std::vector<std::wstring>{L"message", L"book"}));
    EXPECT_EQ(m_services.messages.at(0).text, L"TALVIK will next run on 7 of Dec, 2026 at 6:30");
    const std::string saved = m_dir.Read("orv.dat");
    const SettingsRecord record = DecodeSettingsRecord(reinterpret_cast<const unsigned char*>(saved.data()));
    EXPECT_EQ(record.chime, 0);
    EXPECT_EQ(record.autorun, 1);
    EXPECT_EQ(DateTimeText(record.time), "2026-12-07 06:30:00.000");
    EXPECT_EQ(DateTimeText(*m_services.bookings.at(0).time), "2026-12-07 06:30:00.000");
}

TEST_F(SettingsStateTest, MissingEmptyShortOrImpossibleFilesGiveDefaults)
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

TEST_F(SettingsStateTest, LongerFileUsesItsFirst24BytesAndIsRewrittenExact)
{
    m_dir.Write("orv.dat", kRecord + "trailing garbage");
    ASSERT_TRUE(m_state.LoadSettings());
    EXPECT_EQ(m_state.m_edited.m_bAutoRun, 1);
    m_state.WriteSettingsFile();
    EXPECT_EQ(m_dir.Read("orv.dat"), kRecord);
}

TEST_F(SettingsStateTest, FailedSaveKeepsTheOldFile)
{
    m_dir.Write("orv.dat", kRecord);
    m_state.LoadSettings();
    m_state.m_stored.chime = 1;
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
        return state.LoadSettings() ? DateTimeText(state.m_stored.time) : "defaults";
    }
    static void Save(const SYSTEMTIME& time)
    {
        SettingsState state;
        state.m_stored = {1, 1, time};
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

// With no folder of the user's own, the user is told which variable the
// system would have found it in, and why it did not.
TEST_F(SettingsPlaceTest, NoFolderOfTheUsersOwnNamesTheVariable)
{
    TempDir program;
    FakeServices services(program.Path().string());
    services.MoveProgramTo(std::nullopt);
    const struct
    {
        const char* variable;
        std::optional<std::string> value;
        const wchar_t* reason;
    } cases[] = {
#ifdef _WIN32
        {"APPDATA", std::nullopt, L"(APPDATA is not set)."},
        {"APPDATA", "Roaming", L"(APPDATA is not an absolute path)."},
#else
        {"HOME", std::nullopt, L"(HOME is not set)."},
        {"HOME", "home", L"(HOME is not an absolute path)."},
#endif
    };
    ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    for (const auto& c : cases) {
        ScopedEnv variable(c.variable, c.value);
        SettingsState state;
        const std::wstring said = state.WriteSettingsFile();
        EXPECT_EQ(said,
            L"The settings could not be saved: the program's folder is not yours alone, and no folder of your own "
            L"is known " +
                std::wstring(c.reason))
            << c.value.value_or("(unset)");
    }
}

// Under wine the tests run as root, whom no folder's permissions stop;
// read-only mounts, file size limits and fork are Linux's.
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
    // With no home at all there is nowhere to save, and the user is told so.
    ScopedEnv noHome("HOME", std::nullopt);
    ScopedEnv noConfig("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(SettingsFilePath(), L"");
    SettingsState state;
    EXPECT_NE(state.WriteSettingsFile().find(L"HOME is not set"), std::wstring::npos);
}

// A program whose folder the system will not tell (its path is too long) never
// takes the current folder for it: settings there are not read, and the save
// goes to the user's own folder.
TEST_F(SettingsPlaceTest, UnknownProgramFolderIsNeverTheCurrentOne)
{
    TempDir current;
    std::ofstream(current / "orv.dat", std::ios::binary) << kRecord;
    const std::filesystem::path was = std::filesystem::current_path();
    std::filesystem::current_path(current.Path());
    FakeServices services(current.Path().string());
    services.MoveProgramTo(std::nullopt);
    EXPECT_EQ(Load(), "defaults");
    Save(At(2027, 1, 2, 6, 30));
    std::filesystem::current_path(was);
    EXPECT_EQ(ReadFile(current / "orv.dat"), kRecord);
    EXPECT_EQ(ReadFile(m_userFile).size(), 24u);
}

// A program folder that other users can write (mode 1777) is not the user's:
// another user may have put a link to a file of the user's where the
// settings go, or settings of their own. Neither is used; the user's own
// folder is.
TEST_F(SettingsPlaceTest, FolderOthersCanWriteIsNeverUsed)
{
    TempDir program;
    FakeServices services(program.Path().string());
    ASSERT_EQ(::chmod(program.Path().c_str(), 01777), 0);
    m_home.Write("precious.txt", "the user's own");
    std::filesystem::create_symlink(m_home / "precious.txt", program / "orv.dat");
    EXPECT_EQ(Load(), "defaults") << "what the link leads to is not read as settings";
    Save(At(2027, 1, 2, 6, 30));
    EXPECT_EQ(ReadFile(m_home / "precious.txt"), "the user's own");
    EXPECT_EQ(ReadFile(m_userFile).size(), 24u);

    std::filesystem::remove(program / "orv.dat");
    std::filesystem::remove(m_userFile);
    std::ofstream(program / "orv.dat", std::ios::binary) << kRecord;
    EXPECT_EQ(Load(), "defaults") << "settings planted beside the program are not read";

    // The user's folder itself made by another user, or writable by all, is
    // refused too, with the reason.
    if (::geteuid() == 0) {
        std::filesystem::create_directories(m_userFile.parent_path());
        ASSERT_EQ(::chown(m_userFile.parent_path().c_str(), 65534, 65534), 0);
        SettingsState state;
        const std::wstring said = state.WriteSettingsFile();
        EXPECT_NE(said.find(FromNativePath(m_userFile.string())), std::wstring::npos) << said;
        EXPECT_NE(said.find(L"belongs to another user"), std::wstring::npos) << said;
        EXPECT_FALSE(std::filesystem::exists(m_userFile));
    }
}

#endif

// Saving the settings while the machine fails under the program: the process
// killed part-way, the disk full, the folder read-only, a write cut short.
// "orv.dat" holds the old settings or the new ones, whole, and nothing else.

const SettingsRecord kOld{1, 0, At(2026, 12, 7, 8, 0)};
const SettingsRecord kNew{0, 1, At(2031, 2, 3, 4, 5)};

std::string Bytes(const SettingsRecord& record)
{
    const auto bytes = EncodeSettingsRecord(record);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<std::string> FileNames(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Save(const SettingsRecord& record)
{
    SettingsState state;
    state.m_stored = record;
    state.WriteSettingsFile();
}

#ifdef _WIN32
// Run by SettingsSaveKilled.FileIsAlwaysTheOldOrTheNewRecord in a child:
// saves the new and the old settings by turns until it is killed.
TEST(SettingsSaveProbe, SavesUntilKilled)
{
    const char* folder = std::getenv("VELMORA_PROBE_FOLDER");
    if (!folder)
        GTEST_SKIP() << "only run by SettingsSaveKilled.FileIsAlwaysTheOldOrTheNewRecord";
    FakeServices services(folder);
    std::ofstream(std::string(folder) + "/started") << "";
    for (bool next = true;; next = !next)
        Save(next ? kNew : kOld);
}

// Killed at any moment (TerminateProcess, as Task Manager ends a program),
// a save leaves the whole old or the whole new settings.
TEST(SettingsSaveKilled, FileIsAlwaysTheOldOrTheNewRecord)
{
    TempDir dir;
    dir.Write("orv.dat", Bytes(kOld));
    ScopedEnv probe("VELMORA_PROBE_FOLDER", dir.Path().string());
    const std::wstring self = ExecutablePath();
    std::mt19937 random(std::random_device{}());
    int midSave = 0;
    for (int kill = 0; kill < 30; ++kill) {
        std::wstring command = L"\"" + self + L"\" --gtest_filter=SettingsSaveProbe.*";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        fs::remove(dir / "started");
        ASSERT_TRUE(::CreateProcessW(
            self.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child));
        while (!fs::exists(dir / "started"))
            ::Sleep(1);
        ::Sleep(std::uniform_int_distribution<DWORD>(0, 20)(random));
        ::TerminateProcess(child.hProcess, 1);
        ::WaitForSingleObject(child.hProcess, INFINITE);
        ::CloseHandle(child.hThread);
        ::CloseHandle(child.hProcess);

        const std::string content = dir.Read("orv.dat");
        ASSERT_TRUE(content == Bytes(kOld) || content == Bytes(kNew))
            << "after kill " << kill << " orv.dat holds " << content.size() << " other bytes";
        // A save cut off before its rename leaves its new file behind.
        for (const std::string& name : FileNames(dir.Path()))
            if (name.starts_with("orv.dat.new-") && fs::remove(dir / name))
                ++midSave;
    }
    EXPECT_GT(midSave, 0) << "no kill landed inside a save, so none was tested";
}
#else
std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SettingsSaveKilled, FileIsAlwaysTheOldOrTheNewRecord)
{
    TempDir dir;
    FakeServices services(dir.Path().string());
    dir.Write("orv.dat", Bytes(kOld));
    std::mt19937 random(std::random_device{}());
    int midSave = 0;
    for (int kill = 0; kill < 400; ++kill) {
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves the new and the old settings by turns until it is killed.
            ::close(started[0]);
            (void)!::write(started[1], "", 1);
            for (bool next = true;; next = !next)
                Save(next ? kNew : kOld);
        }
        ::close(started[1]);
        char byte;
        ASSERT_EQ(::read(started[0], &byte, 1), 1);
        ::close(started[0]);
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<>(0, 4000)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);

        const std::string content = dir.Read("orv.dat");
        ASSERT_TRUE(content == Bytes(kOld) || content == Bytes(kNew))
            << "after kill " << kill << " orv.dat holds " << content.size() << " other bytes";
        // A save cut off between writing its new file and renaming it leaves
        // that file behind; the settings are not in it.
        const std::string leftover = "orv.dat.new-" + std::to_string(child) + "-";
        for (const std::string& name : FileNames(dir.Path()))
            if (name.starts_with(leftover) && fs::remove(dir / name))
                ++midSave;
    }
    EXPECT_GT(midSave, 0) << "no kill landed inside a save, so none was tested";
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"orv.dat"});
}

TEST(SettingsSaveFault, FullDiskKeepsTheOldFile)
{
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small tmpfs to fill needs root";
    FakeServices services(disk.Path().string());
    Save(kOld);
    disk.Fill();
    Save(kNew);
    EXPECT_EQ(ReadFile(disk / "orv.dat"), Bytes(kOld));
    EXPECT_EQ(FileNames(disk.Path()), (std::vector<std::string>{"filler", "orv.dat"})) << "no half-written file left";
    SettingsState state;
    EXPECT_TRUE(state.LoadSettings());
    EXPECT_EQ(state.m_edited.m_bAutoRun, 0);
    // Once there is room again, the next save goes through.
    fs::remove(disk / "filler");
    Save(kNew);
    EXPECT_EQ(ReadFile(disk / "orv.dat"), Bytes(kNew));
}

TEST(SettingsSaveFault, ReadOnlyDiskKeepsTheOldFile)
{
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small tmpfs read-only needs root";
    FakeServices services(disk.Path().string());
    Save(kOld);
    ASSERT_TRUE(disk.MakeReadOnly());
    // The new settings go to the user's own folder instead.
    TempDir home;
    ScopedEnv config("XDG_CONFIG_HOME", home.Path().string());
    Save(kNew);
    EXPECT_EQ(ReadFile(disk / "orv.dat"), Bytes(kOld));
    EXPECT_EQ(FileNames(disk.Path()), std::vector<std::string>{"orv.dat"});
    EXPECT_EQ(ReadFile(home / "velmora/orv.dat"), Bytes(kNew));
}

TEST(SettingsSaveFault, WriteCutShortKeepsTheOldFile)
{
    // A file size limit stops the write part-way through the record, as a
    // disk filling up during the save would.
    TempDir dir;
    FakeServices services(dir.Path().string());
    Save(kOld);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{10, 10};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        Save(kNew);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(dir.Read("orv.dat"), Bytes(kOld));
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"orv.dat"});
}

#endif

} // namespace
