// SPDX-License-Identifier: MIT
#pragma once

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/mount.h>
#include <unistd.h>

// A file system of its own, a few pages of memory large, for tests of a full
// or read-only disk. Mounting needs root; where it fails, Mounted() is false
// and the test skips.
class SmallDisk
{
public:
    SmallDisk()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-disk-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            return;
        m_path = pattern;
        m_mounted = ::mount("velmora", m_path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=64k,mode=0755") == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            ::umount2(m_path.c_str(), MNT_DETACH);
        if (!m_path.empty())
            ::rmdir(m_path.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Takes every byte left with the file "filler"; removing it frees them.
    void Fill() const
    {
        const int fd = ::open((m_path / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        const std::string block(4096, 'f');
        for (std::size_t chunk = block.size(); fd >= 0 && chunk > 0; chunk = chunk > 1 ? chunk / 2 : 0) {
            ssize_t n;
            while ((n = ::write(fd, block.data(), chunk)) > 0 || (n < 0 && errno == EINTR)) { }
        }
        if (fd >= 0)
            ::close(fd);
    }
    // True when the disk is read-only from now on.
    bool MakeReadOnly() const
    {
        return ::mount(nullptr, m_path.c_str(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
    }

private:
    std::filesystem::path m_path;
    bool m_mounted = false;
};
