// SPDX-License-Identifier: MIT
#include "platform/system/program_dir.h"
#include "service_doubles.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

namespace {

TEST(ProgramDir, EndsAtTheLastSeparator)
{
    const struct
    {
        const wchar_t* exe;
        const wchar_t* dir;
    } cases[] = {
        {L"/opt/velmora/talvik", L"/opt/velmora/"},
        {L"talvik", L""},
#ifdef _WIN32
        {L"C:\\Program Files\\Velmora\\talvik.exe", L"C:\\Program Files\\Velmora\\"},
        {L"C:/Users/ana/Velmora/talvik.exe", L"C:/Users/ana/Velmora/"},
        {L"C:\\mixed/folders\\talvik.exe", L"C:\\mixed/folders\\"},
        {L"\\\\server\\share\\talvik.exe", L"\\\\server\\share\\"},
        {L"\\\\?\\C:\\long\\talvik.exe", L"\\\\?\\C:\\long\\"},
#else
        {L"/opt/back\\slash\\talvik", L"/opt/"}, // a backslash is part of a name
#endif
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramDirOf(c.exe), c.dir) << ToNativePath(c.exe);
}

// The program's files are found beside the executable whose path the system
// gives, and nowhere while it gives none.
TEST(ProgramDir, FilesBesideTheExecutableOrNowhere)
{
    TempDir dir;
    FakeServices services(dir.Path().string());
    EXPECT_EQ(ProgramPath(), services.ExePath());
    EXPECT_EQ(ProgramFilePath(L"orv.dat"), ProgramDirOf(services.ExePath()) + L"orv.dat");
    services.MoveProgramTo(std::nullopt);
    EXPECT_EQ(ProgramPath(), L"");
    EXPECT_EQ(g_strProgramDir, L"");
    EXPECT_EQ(ProgramFilePath(L"orv.dat"), L"");
}

} // namespace
