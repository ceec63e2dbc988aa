// SPDX-License-Identifier: MIT
#include "platform/system/temporary_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Where temporary files go: where TMPDIR says, as for every program that
// makes them (/tmp may be memory, too small for a book's records), or /tmp
// where it names no folder. The C library's tmpfile() ignores TMPDIR.
std::string TemporaryFolder()
{
    const char* folder = std::getenv("TMPDIR");
    struct stat st
    { };
    if (folder && *folder && ::stat(folder, &st) == 0 && S_ISDIR(st.st_mode))
        return folder;
    return "/tmp";
}

} // namespace

std::FILE* OpenTemporaryFile()
{
    const std::string folder = TemporaryFolder();
    // A file without a name where the file system makes one; otherwise one
    // named, and its name removed at once.
    int fd = ::open(folder.c_str(), O_TMPFILE | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR)) {
        std::string name = folder + "/velmora-XXXXXX";
        fd = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd >= 0)
            ::unlink(name.c_str());
    }
    if (fd < 0)
        return nullptr;
    std::FILE* file = ::fdopen(fd, "w+b");
    if (!file)
        ::close(fd);
    return file;
}
