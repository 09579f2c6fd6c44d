// Crash-safe replacement of the user files: temporary file, fsync, rename.
#include "assets/user_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

// Permission bits for a new user file before the umask, as fopen would give it.
constexpr mode_t kNewFileMode = 0666;

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Makes the rename itself durable: the folder's entry is on the disk too.
void SyncFolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

} // namespace

bool ReplaceUserFile(const char* path, const void* data, size_t size)
{
    std::string temp = std::string(path) + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        return false;
    const mode_t mask = umask(0);
    umask(mask);
    bool ok =
        fchmod(fd, kNewFileMode & ~mask) == 0 && WriteAll(fd, static_cast<const char*>(data), size) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), path) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    SyncFolderOf(path);
    return true;
}
