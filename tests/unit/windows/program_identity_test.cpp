// SPDX-License-Identifier: MIT
#include "platform/daily_start/task_scheduler/program_identity.h"
#include "platform/daily_start/task_scheduler/task_xml.h"
#include "platform/system/windows/windows_api.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

const std::wstring kUser = L"S-1-5-21-1-2-3-1001";

std::wstring ShortPath(const std::wstring& path)
{
    std::wstring out(32768, L'\0');
    out.resize(::GetShortPathNameW(path.c_str(), out.data(), static_cast<DWORD>(out.size())));
    return out;
}

// A program file in a folder with a long name, both cases of a letter past
// ASCII, and an 8.3 short name.
class ProgramIdentityTest : public ::testing::Test
{
protected:
    ProgramIdentityTest()
    {
        std::filesystem::create_directory(ToFilesystemPath(m_folder));
        std::ofstream(ToFilesystemPath(m_program)) << "MZ";
        std::ofstream(ToFilesystemPath(m_folder + L"\\talvik2.exe")) << "MZ";
    }

    TempDir m_dir;
    const std::wstring m_base = FromFilesystemPath(m_dir.Path());
    const std::wstring m_folder = m_base + L"\\Velmora \u00c9dition long folder name";
    const std::wstring m_program = m_folder + L"\\talvik.exe";
};

TEST_F(ProgramIdentityTest, EverySpellingOfOneFileIsOneTask)
{
    const std::wstring shortPath = ShortPath(m_program);
    ASSERT_NE(shortPath.find(L'~'), std::wstring::npos) << ToNativePath(shortPath);
    const std::wstring slashes =
        m_base + L"/./Velmora \u00c9dition long folder name/../" + m_folder.substr(m_base.size() + 1) + L"/talvik.exe";
    const std::wstring spellings[] = {
        shortPath,
        m_base + L"\\VELMORA \u00c9DITION LONG FOLDER NAME\\TALVIK.EXE",
        m_base + L"\\velmora \u00e9dition long folder name\\Talvik.Exe",
        slashes,
    };
    const std::wstring name = ProgramTaskName(kUser, m_program);
    const std::wstring canonical = CanonicalProgramPath(m_program);
    EXPECT_EQ(canonical.substr(1, 2), L":\\") << "a drive letter, not \\\\?\\: " << ToNativePath(canonical);
    EXPECT_NE(canonical.find(L"\\Velmora \u00c9dition long folder name\\talvik.exe"), std::wstring::npos)
        << ToNativePath(canonical);
    for (const std::wstring& spelling : spellings) {
        EXPECT_EQ(ProgramTaskName(kUser, spelling), name) << ToNativePath(spelling);
        EXPECT_EQ(CanonicalProgramPath(spelling), canonical) << ToNativePath(spelling);
    }
    EXPECT_NE(ProgramTaskName(kUser, m_folder + L"\\talvik2.exe"), name) << "another file";
    EXPECT_NE(ProgramTaskName(L"S-1-5-21-1-2-3-1002", m_program), name) << "another user";
}

// A program removed since its task was made is still named by its path, in
// any case, so that its task can be removed; a path of plain letters keeps
// the name its task was given before case was folded past ASCII.
TEST(ProgramIdentity, AFileThatIsGoneKeepsItsNameInEveryCase)
{
    const std::pair<std::wstring, std::wstring> same[] = {
        {L"C:\\\u00c9dition gone\\talvik.exe", L"c:/\u00e9DITION GONE/TALVIK.EXE"},
        {L"C:\\\u0394\u03b9\u03ac\u03b2\u03b1\u03c3\u03bc\u03b1\\t.exe",
            L"C:\\\u03b4\u0399\u0386\u0392\u0391\u03a3\u039c\u0391\\T.EXE"},
        {L"C:\\gone\\sub\\..\\talvik.exe", L"C:\\GONE\\TALVIK.EXE"},
    };
    for (const auto& [one, other] : same)
        EXPECT_EQ(ProgramTaskName(kUser, one), ProgramTaskName(kUser, other)) << ToNativePath(one);
    EXPECT_NE(ProgramTaskName(kUser, L"C:\\\u00c9dition gone\\talvik.exe"),
        ProgramTaskName(kUser, L"C:\\Edition gone\\talvik.exe"));
    const std::wstring installed = L"C:\\Program Files (gone)\\Velmora\\talvik.exe";
    EXPECT_EQ(ProgramTaskName(kUser, installed), TaskName(kUser, installed)) << "a task made before keeps its name";
}

} // namespace
