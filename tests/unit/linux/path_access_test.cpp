// SPDX-License-Identifier: MIT
#include "platform/daily_start/replaceable_program.h"
#include "platform/daily_start/systemd/systemd_units.h"
#include "shell.h"
#include "temp_dir.h"
#include "text/utf8_path.h"

#include <gtest/gtest.h>

#include <sched.h>
#include <sys/mount.h>
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

// Adds `lines` to a copy of /etc/`name` in `dir` and puts the copy in the
// real one's place, for this process and what it starts alone: the users and
// groups of the test, and no change to the machine's.
bool AddToOwnCopy(const TempDir& dir, const std::string& name, const std::string& lines)
{
    const fs::path copy = dir / name;
    std::error_code error;
    fs::copy_file("/etc/" + name, copy, error);
    std::ofstream(copy, std::ios::app) << lines;
    return !error && ::mount(copy.c_str(), ("/etc/" + name).c_str(), nullptr, MS_BIND, nullptr) == 0;
}

TEST(PathAccessTest, ProgramAndStartCheckAgreeOnWhoCouldReplaceTheProgram)
{
    if (::geteuid() != 0 || Shell("command -v getfacl setfacl").first != 0)
        GTEST_SKIP() << "needs root, getfacl and setfacl";
    TempDir dir;
    // rune is another user, with a group of their own; crew holds rune, and
    // lone no one but root.
    ASSERT_TRUE(::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
        AddToOwnCopy(dir, "passwd", "rune:x:4201:4201::/nonexistent:/bin/false\n") &&
        AddToOwnCopy(dir, "group", "rune:x:4201:\ncrew:x:4202:rune\nlone:x:4203:root\n"))
        << "a mount namespace of the test's own";
    const auto run = [](const std::string& command) { return Shell(command).first == 0; };
    const auto acl = [&](const fs::path& p, const char* entries) {
        return run("setfacl -n -m " + std::string(entries) + " " + ShellQuoted(p.native()));
    };
    const auto group = [&](const fs::path& p, const char* name, mode_t mode) {
        return run("chgrp " + std::string(name) + " " + ShellQuoted(p.native())) && ::chmod(p.c_str(), mode) == 0;
    };
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
        {"a group of ours alone writes the folder", [&](auto& a, auto&) { return group(a, "lone", 0775); }, ""},
        {"a group with another member writes the folder", [&](auto& a, auto&) { return group(a, "crew", 0775); },
            "other users can change "},
        {"another user's own group writes the folder", [&](auto& a, auto&) { return group(a, "rune", 0775); },
            "other users can change "},
        {"another user writes the folder by its access list",
            [&](auto& a, auto&) { return acl(a, "u:rune:rwx,m::rwx"); }, "other users can change "},
        {"the access list's mask takes another user's write",
            [&](auto& a, auto&) { return acl(a, "u:rune:rwx,m::r-x"); }, ""},
        {"a named group with another member writes the file",
            [&](auto&, auto& p) { return acl(p, "g:crew:rwx,m::rwx"); }, "other users can change "},
        {"a named group of ours alone writes the file", [&](auto&, auto& p) { return acl(p, "g:lone:rw,m::rwx"); }, ""},
        {"sticky folder, our entry", [](auto& a, auto&) { return ::chmod(a.c_str(), 01777) == 0; }, ""},
        {"others write the file in a sticky folder",
            [](auto& a, auto& p) { return ::chmod(a.c_str(), 01777) == 0 && ::chmod(p.c_str(), 0777) == 0; },
            "other users can change "},
        {"the file is another user's", [](auto&, auto& p) { return ::chown(p.c_str(), 4201, 4201) == 0; }, "/"},
        {"missing", [](auto&, auto& p) { return fs::remove(p); }, "/"},
        {"a link to ours",
            [](auto& a, auto& p) {
                fs::rename(p, a / "real");
                fs::create_symlink(a / "real", p);
                return true;
            },
            "/"},
    };
    for (const Case& c : cases) {
        const fs::path app = dir / c.name;
        const fs::path program = app / "bin" / "talvik";
        WriteExecutable(program, "#!/bin/sh\n");
        fs::permissions(app, fs::perms(0755));
        fs::permissions(app / "bin", fs::perms(0755));
        ASSERT_TRUE(c.arrange(app, program)) << c.name;
        const std::string why = ToNativePath(WhyOthersCanReplaceProgram(FromNativePath(program.native())));
        const bool bSafe = *c.why == '\0';
        EXPECT_EQ(why.empty(), bSafe) << c.name << ": " << why;
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << c.name << ": " << why;

        const auto [status, out] =
            Shell("/bin/sh -c " + ShellQuoted(StartCheck(program.native())) + " " + ShellQuoted(program.native()));
        EXPECT_EQ(status, bSafe ? 0 : 1) << c.name << "\n" << out;
    }
}

} // namespace
