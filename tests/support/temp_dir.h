// SPDX-License-Identifier: MIT
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

// A fresh directory for one test, removed with everything in it afterwards.
class TempDir
{
public:
    TempDir()
    {
#ifdef _WIN32
        std::random_device random;
        std::error_code error;
        do
            m_path = std::filesystem::temp_directory_path() / ("velmora-test-" + std::to_string(random()));
        while (!std::filesystem::create_directory(m_path, error) && !error);
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-test-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
#endif
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::permissions(
            m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const
    {
        return m_path;
    }
    std::filesystem::path operator/(const std::string& name) const
    {
        return m_path / name;
    }

    void Write(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(m_path / name, std::ios::binary) << bytes;
    }
    std::string Read(const std::string& name) const
    {
        std::ifstream in(m_path / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_path;
};
