// Whole-file reads and checked writes shared by the command-line tools.
#include "file_io.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// Reads f to its end, refusing more than kMaxToolInput bytes.
bool ReadStream(std::FILE* f, std::string& text, std::string& why)
{
    text.clear();
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (text.size() + n > kMaxToolInput) {
            why = "larger than 64 MiB";
            return false;
        }
        text.append(buf, n);
    }
    if (std::ferror(f)) {
        why = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace

bool ReadToolInput(const std::string& path, std::string& text, std::string& why)
{
    if (path == "-")
        return ReadStream(stdin, text, why);
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) {
        why = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        why = "not a regular file";
        return false;
    }
    if (static_cast<uint64_t>(st.st_size) > kMaxToolInput) {
        why = "larger than 64 MiB";
        return false;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    const bool ok = ReadStream(f, text, why);
    std::fclose(f);
    return ok;
}

bool WriteToolOutput(const std::string& path, const void* data, size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool written = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && written;
}
