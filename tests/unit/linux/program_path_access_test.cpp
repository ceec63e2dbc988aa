// SPDX-License-Identifier: MIT
#include "platform/daily_start/replaceable_program.h"
#include "platform/daily_start/systemd/systemd_units.h"
#include "shell.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <unistd.h>

// The rule that a booked start runs only a program no other user can
// replace, kept twice: in the program, checked when it books, and in the
// service unit, checked by systemd when the start comes. Both must agree.

namespace {

namespace fs = std::filesystem;

// The service unit's start check for `program`, unquoted as systemd does.
std::string StartCheck(const std::string& program)
{
    const std::string unit = *SystemdServiceUnit(program);
    const auto begin = unit.find("ExecCondition=\":/bin/sh\" -c \"") + 29;
    const auto end = unit.find("\" \"", begin);
    std::string script;
    for (auto i = begin; i < end; ++i)
        script += unit[i] == '\\' || unit[i] == '%' ? unit[++i] : unit[i];
    return script;
}

TEST(ReplaceableProgramTest, ProgramAndStartCheckAgreeOnWhoCouldReplaceTheProgram)
{
    TempDir dir;
    const auto nobody = [](const fs::path& p) { return ::chown(p.c_str(), 65534, 65534) == 0; };
    struct Case
    {
        const char* name;
        std::function<bool(const fs::path& app, const fs::path& program)> arrange; // app holds program
        const char* why; // empty when no other user can replace it; else the start of the reason
    };
    const Case cases[] = {
        {"ours", [](auto&, auto&) { return true; }, ""},
        {"others write the folder", [](auto& a, auto&) { return ::chmod(a.c_str(), 0777) == 0; },
            "other users can change "},
        {"the group writes the folder", [](auto& a, auto&) { return ::chmod(a.c_str(), 0775) == 0; },
            "other users can change "},
        {"sticky folder, our entry", [](auto& a, auto&) { return ::chmod(a.c_str(), 01777) == 0; }, ""},
        {"others write the file in a sticky folder",
            [](auto& a, auto& p) { return ::chmod(a.c_str(), 01777) == 0 && ::chmod(p.c_str(), 0777) == 0; },
            "other users can change "},
        {"the file is another user's", [&](auto&, auto& p) { return nobody(p); }, ""},
        {"sticky folder, another user's folder in it",
            [&](auto& a, auto&) { return ::chmod(a.c_str(), 01777) == 0 && nobody(a / "bin"); }, ""},
        {"missing", [](auto&, auto& p) { return fs::remove(p); }, ""},
        {"a link to ours",
            [](auto& a, auto& p) {
                fs::rename(p, a / "real");
                fs::create_symlink(a / "real", p);
                return true;
            },
            ""},
    };
    for (const Case& c : cases) {
        const fs::path app = dir / c.name;
        const fs::path program = app / "bin" / "talvik";
        WriteExecutable(program, "#!/bin/sh\n");
        fs::permissions(app, fs::perms(0755));
        fs::permissions(app / "bin", fs::perms(0755));
        ASSERT_TRUE(c.arrange(app, program)) << c.name;
        const std::wstring why = WhyOthersCanReplaceProgram(FromNativePath(program.native()));
        const bool bSafe = std::string(c.name) == "ours" || std::string(c.name) == "sticky folder, our entry";
        EXPECT_EQ(why.empty(), bSafe) << c.name << ": " << ToNativePath(why);
        EXPECT_EQ(ToNativePath(why).rfind(c.why, 0), 0u) << c.name << ": " << ToNativePath(why);

        const auto [status, out] =
            Shell("/bin/sh -c " + ShellQuoted(StartCheck(program.native())) + " " + ShellQuoted(program.native()));
        EXPECT_EQ(status, bSafe ? 0 : 1) << c.name << "\n" << out;
    }
}

} // namespace
