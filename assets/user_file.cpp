// Crash-safe replacement of the user files that keeps links, modes, owners and protection as the player left them.
#include "assets/user_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <string>

// On a 32-bit machine without large-file support, readdir and stat fail on files with
// inode numbers past 32 bits, which would leave every save undone there.
static_assert(sizeof(off_t) == 8 && sizeof(ino_t) == 8, "build with _FILE_OFFSET_BITS=64");

namespace {

// Permission bits for a new user file before the umask, as fopen would give it.
constexpr mode_t kNewFileMode = 0666;
// Permission bits carried over from the old file: set-id, sticky and rwx bits.
constexpr mode_t kModeBits = 07777;
// Symbolic links followed before giving up, the kernel's own limit.
constexpr int kMaxLinkHops = 40;
// The temporary file's name: the file's own name, a dot and mkstemp's six letters or digits.
constexpr const char kTempSuffix[] = ".XXXXXX";
constexpr size_t kTempRandomChars = 6;

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path stands for: symbolic links followed to their end, which need
// not exist yet (a link into a dotfiles folder before the first save). False
// for a loop or an unreadable link.
bool FollowLinks(const std::string& path, std::string& target)
{
    std::string p = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st = {};
        if (lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            target = p;
            return true;
        }
        char link[PATH_MAX];
        const ssize_t n = readlink(p.c_str(), link, sizeof link);
        if (n <= 0 || static_cast<size_t>(n) >= sizeof link)
            return false;
        const std::string to(link, static_cast<size_t>(n));
        p = to[0] == '/' ? to : FolderOf(p) + "/" + to;
    }
    return false;
}

bool IsAsciiLower(char c)
{
    return c >= 'a' && c <= 'z';
}

bool IsAsciiUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

// True for a name this writer gives its temporary files of `name`: the name,
// a dot and six letters or digits. Six letters of one case ("backup", "BACKUP")
// look like a name the player chose and are left alone.
bool IsTempNameOf(const std::string& candidate, const std::string& name)
{
    const size_t prefix = name.size() + 1;
    if (candidate.size() != prefix + kTempRandomChars || candidate.compare(0, name.size(), name) != 0 ||
        candidate[name.size()] != '.')
        return false;
    bool lower = false, upper = false, digit = false;
    for (size_t i = prefix; i < candidate.size(); ++i) {
        const char c = candidate[i];
        lower = lower || IsAsciiLower(c);
        upper = upper || IsAsciiUpper(c);
        digit = digit || IsAsciiDigit(c);
        if (!IsAsciiLower(c) && !IsAsciiUpper(c) && !IsAsciiDigit(c))
            return false;
    }
    return digit || (lower && upper);
}

// Removes what an earlier write of `name` left in folder when it was killed
// half way: plain files of this user with the temporary name pattern, never a
// link, a folder or a file with other names pointing at it.
void RemoveLeftovers(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return;
    const uid_t me = geteuid();
    while (const dirent* entry = readdir(dir)) {
        if (!IsTempNameOf(entry->d_name, name))
            continue;
        const std::string path = folder + "/" + entry->d_name;
        struct stat st = {};
        if (lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == me && st.st_nlink == 1)
            unlink(path.c_str());
    }
    closedir(dir);
}

bool WriteAll(int fd, const char* data, size_t size, off_t offset)
{
    while (size > 0) {
        const ssize_t n = pwrite(fd, data, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
        offset += n;
    }
    return true;
}

// Overwrites the open file with the new bytes. Not crash-safe like the rename,
// so only for files the rename would harm; the blocks are reserved first where
// the file system can, so a full disk usually stops it before a byte changes.
bool WriteInPlace(int fd, const char* data, size_t size)
{
    if (size > 0 && fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size)) != 0 && errno == ENOSPC)
        return false;
    return WriteAll(fd, data, size, 0) && ftruncate(fd, static_cast<off_t>(size)) == 0 && fsync(fd) == 0;
}

// Makes the rename itself durable: the folder's entry is on the disk too.
void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Gives the temporary file the old file's owner, group and mode (a new file's
// mode when there is none); false when the owner or group cannot be kept.
bool TakeOver(int fd, const struct stat* old)
{
    if (!old) {
        const mode_t mask = umask(0);
        umask(mask);
        return fchmod(fd, kNewFileMode & ~mask) == 0;
    }
    struct stat now = {};
    if (fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old->st_uid || now.st_gid != old->st_gid) && fchown(fd, old->st_uid, old->st_gid) != 0)
        return false;
    // After the owner: changing it clears the set-id bits.
    return fchmod(fd, old->st_mode & kModeBits) == 0;
}

// The crash-safe way: a temporary file beside the target, flushed, renamed over it.
// Sets *noRoom when the folder takes no temporary file or the owner cannot be kept.
bool WriteByRename(const std::string& target, const struct stat* old, const char* data, size_t size, bool* noRoom)
{
    *noRoom = false;
    std::string temp = target + kTempSuffix;
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        *noRoom = errno == EACCES || errno == EPERM;
        return false;
    }
    if (!TakeOver(fd, old)) {
        close(fd);
        unlink(temp.c_str());
        *noRoom = true;
        return false;
    }
    bool ok = WriteAll(fd, data, size, 0) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    SyncFolder(FolderOf(target));
    return true;
}

} // namespace

bool ReplaceUserFile(const char* path, const void* data, size_t size)
{
    const char* bytes = static_cast<const char*>(data);
    std::string target;
    if (!FollowLinks(path, target))
        return false;
    RemoveLeftovers(FolderOf(target), NameOf(target));

    struct stat old = {};
    if (lstat(target.c_str(), &old) != 0) {
        if (errno != ENOENT)
            return false;
        bool noRoom = false;
        return WriteByRename(target, nullptr, bytes, size, &noRoom);
    }
    // Only a plain file is ever replaced, and only one this process may write:
    // a file the player protected stays as it is, as an overwrite would leave it.
    if (!S_ISREG(old.st_mode))
        return false;
    const int fd = open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = false;
    if (fstat(fd, &old) == 0 && S_ISREG(old.st_mode)) {
        // A file with other names keeps them all only when written in place.
        bool noRoom = old.st_nlink > 1;
        if (!noRoom)
            ok = WriteByRename(target, &old, bytes, size, &noRoom);
        if (noRoom)
            ok = WriteInPlace(fd, bytes, size);
    }
    ok = close(fd) == 0 && ok;
    return ok;
}
