// SPDX-License-Identifier: MIT
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <utility>

// `s` as one word for /bin/sh.
inline std::string ShellQuoted(const std::string& s)
{
    std::string out = "'";
    for (const char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// Exit status and everything printed by a shell command line.
inline std::pair<int, std::string> Shell(const std::string& command)
{
    std::string out;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    for (char buf[256]; pipe && std::fgets(buf, sizeof buf, pipe);)
        out += buf;
    const int status = pipe ? ::pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

inline void WriteExecutable(const std::filesystem::path& path, const std::string& script)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << script;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}
