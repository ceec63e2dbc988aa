// SPDX-License-Identifier: MIT
#include "platform/system/binary_file.h"
#include "platform/system/executable_path.h"
#include "platform/system/folders.h"
#include "platform/system/program_dir.h"
#include "platform/system/windows/executable_path.h"
#include "platform/system/windows/windows_api.h"
#include "scoped_env.h"
#include "service_doubles.h"
#include "settings/settings_state.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::size_t EntryCount(const fs::path& folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(ProgramDir, EndsAtEitherSeparator)
{
    const struct
    {
        const wchar_t* exe;
        const wchar_t* dir;
    } cases[] = {
        {L"C:\\Program Files\\Velmora\\talvik.exe", L"C:\\Program Files\\Velmora\\"},
        {L"C:/Users/ana/Velmora/talvik.exe", L"C:/Users/ana/Velmora/"},
        {L"C:\\mixed/folders\\talvik.exe", L"C:\\mixed/folders\\"},
        {L"\\\\server\\share\\talvik.exe", L"\\\\server\\share\\"},
        {L"\\\\?\\C:\\long\\talvik.exe", L"\\\\?\\C:\\long\\"},
        {L"talvik.exe", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramDirOf(c.exe), c.dir) << ToNativePath(c.exe);
}

// Names beyond the ANSI code page and past U+FFFF reach the system whole,
// whether given wide or as UTF-8.
TEST(WindowsFiles, NamesInAnyScript)
{
    TempDir dir;
    const std::wstring folder = FromFilesystemPath(dir.Path()) + L"\\\u00e9\u6f22\U0001F600";
    const std::wstring book = folder + L"\\\u043a\u043d\u0438\u0433\u0430 \U0001F600.pdb";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(ReplaceFileContent(book, "first", 5));
    ASSERT_TRUE(ReplaceFileContent(book, "second", 6));

    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"\\*.pdb").c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(std::wstring(found.cFileName), L"\u043a\u043d\u0438\u0433\u0430 \U0001F600.pdb");
    EXPECT_FALSE(::FindNextFileW(search, &found)) << "nothing but the book is left in its folder";
    ::FindClose(search);

    CFile file;
    char text[8] = {};
    ASSERT_TRUE(file.Open(ToNativePath(book), CFile::modeRead)) << "UTF-8, as the book tool passes names";
    EXPECT_EQ(file.Read(text, sizeof text), 6u);
    EXPECT_EQ(std::string(text, 6), "second");
    EXPECT_EQ(FromFilesystemPath(ToFilesystemPath(book)), book);
}

// The reader holds the book open for a moment at each reading. Windows lets
// no file that is open be replaced, so a replacement made meanwhile waits
// for the reader to close it rather than fail.
TEST(WindowsFiles, AReplacementWaitsForAReaderToClose)
{
    TempDir dir;
    dir.Write("maravelle.pdb", "old book");
    const std::wstring path = FromFilesystemPath(dir / "maravelle.pdb");
    CFile reading;
    ASSERT_TRUE(reading.Open(path, CFile::modeRead));
    std::thread reader([&] {
        char text[8] = {};
        EXPECT_EQ(reading.ReadAt(0, text, sizeof text), 8u);
        EXPECT_EQ(std::string(text, 8), "old book");
        ::Sleep(100);
        reading.Close();
    });
    EXPECT_TRUE(ReplaceFileContent(path, "new book", 8));
    reader.join();
    EXPECT_EQ(dir.Read("maravelle.pdb"), "new book");
    EXPECT_EQ(EntryCount(dir.Path()), 1u);
}

TEST(WindowsFiles, ALinkIsWrittenThroughAndALinkToNothingRefused)
{
    TempDir dir;
    fs::create_directory(dir / "elsewhere");
    dir.Write("elsewhere/orv.dat", "old");
    const std::wstring link = FromFilesystemPath(dir / "orv.dat");
    const std::wstring target = FromFilesystemPath(dir / "elsewhere" / "orv.dat");
    // wine 8 says it made the link and makes none; the end-to-end tests
    // plant links of the Linux side for it.
    if (!::CreateSymbolicLinkW(link.c_str(), target.c_str(), 0) || !fs::exists(dir / "orv.dat"))
        GTEST_SKIP() << "no symbolic links here";
    ASSERT_TRUE(ReplaceFileContent(link, "new", 3));
    EXPECT_TRUE(fs::is_symlink(dir / "orv.dat"));
    EXPECT_EQ(ReadAll(dir / "elsewhere" / "orv.dat"), "new");
    EXPECT_EQ(EntryCount(dir / "elsewhere"), 1u) << "nothing left behind";

    const std::wstring dangling = FromFilesystemPath(dir / "dangling.dat");
    ASSERT_TRUE(::CreateSymbolicLinkW(dangling.c_str(), (target + L".gone").c_str(), 0));
    EXPECT_FALSE(ReplaceFileContent(dangling, "new", 3));
    EXPECT_FALSE(fs::exists(target + L".gone"));
}

TEST(WindowsFolders, AppDataIsTheUsersConfigFolder)
{
    const struct
    {
        std::optional<std::string> appData;
        const wchar_t* folder;
    } cases[] = {
        {"C:\\Users\\ana\\AppData\\Roaming", L"C:\\Users\\ana\\AppData\\Roaming\\"},
        {"C:\\Users\\ana\\AppData\\Roaming\\", L"C:\\Users\\ana\\AppData\\Roaming\\"},
        {"\\\\server\\profiles\\ana", L"\\\\server\\profiles\\ana\\"},
        {"\xc3\xa9\\relative", L""},
        {std::nullopt, L""},
    };
    for (const auto& c : cases) {
        ScopedEnv appData("APPDATA", c.appData);
        EXPECT_EQ(UserConfigFolder(), c.folder) << c.appData.value_or("(unset)");
    }
    TempDir dir;
    const std::wstring deep = FromFilesystemPath(dir.Path()) + L"\\Velmora\u00e9\\inner\\";
    EXPECT_TRUE(CreateFolders(deep));
    EXPECT_TRUE(CreateFolders(deep)) << "folders that are there already";
    EXPECT_TRUE(IsFolderWritable(deep));
    EXPECT_EQ(EntryCount(ToFilesystemPath(deep)), 0u) << "the check leaves nothing behind";
    EXPECT_FALSE(IsFolderWritable(deep + L"missing\\"));
}

TEST(ExecutablePath, HoweverLongThePath)
{
    const std::wstring self = ExecutablePath();
    EXPECT_TRUE(self.ends_with(L"\\windows_services_test.exe")) << ToNativePath(self);
    // Paths past MAX_PATH are cut short unless the room grows until they fit.
    for (const std::size_t room : {1, 8, 64})
        EXPECT_EQ(ModulePath(nullptr, room), self) << room;
}

const SettingsRecord kOld{1, 0, At(2026, 12, 7, 8, 0)};
const SettingsRecord kNew{0, 1, At(2031, 2, 3, 4, 5)};

std::string Bytes(const SettingsRecord& record)
{
    const auto bytes = EncodeSettingsRecord(record);
    return std::string(bytes.begin(), bytes.end());
}

// Run by SettingsSaveKilled.FileIsAlwaysTheOldOrTheNewRecord in a child:
// saves the new and the old settings by turns until it is killed.
TEST(SettingsSaveProbe, SavesUntilKilled)
{
    const char* folder = std::getenv("VELMORA_PROBE_FOLDER");
    if (!folder)
        GTEST_SKIP() << "only run by SettingsSaveKilled.FileIsAlwaysTheOldOrTheNewRecord";
    FakeServices services(folder);
    std::ofstream(std::string(folder) + "/started") << "";
    for (bool next = true;; next = !next) {
        SettingsState state;
        state.m_stored = next ? kNew : kOld;
        state.WriteSettingsFile();
    }
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
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            if (entry.path().filename().string().starts_with("orv.dat.new-") && fs::remove(entry.path()))
                ++midSave;
    }
    EXPECT_GT(midSave, 0) << "no kill landed inside a save, so none was tested";
}

} // namespace
