// SPDX-License-Identifier: MIT
#include "scoped_env.h"
#include "service_doubles.h"
#include "settings/settings_state.h"
#include "small_disk.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// Saving the settings while the machine fails under the program: the process
// killed part-way, the disk full, the folder read-only, a write cut short.
// "orv.dat" holds the old settings or the new ones, whole, and nothing else.

namespace {

namespace fs = std::filesystem;

const SettingsRecord kOld{1, 0, At(2026, 12, 7, 8, 0)};
const SettingsRecord kNew{0, 1, At(2031, 2, 3, 4, 5)};

std::string Bytes(const SettingsRecord& record)
{
    const auto bytes = EncodeSettingsRecord(record);
    return std::string(bytes.begin(), bytes.end());
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
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

} // namespace
