// Test support shared by the test files: child commands, scratch directories, whole-file reads and writes, archives on
// disk.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/archive_format.h"

namespace testsupport {

// How many times longer a wall-clock limit of a test is in this build: 1 natively, more where
// the tests run under an emulator (a cross build), which is many times slower.
#ifdef FRIBB3_TEST_TIME_FACTOR
constexpr int kTimeFactor = FRIBB3_TEST_TIME_FACTOR;
#else
constexpr int kTimeFactor = 1;
#endif
static_assert(kTimeFactor >= 1);

// What a child command printed on its standard output, and how it ended.
struct CommandResult {
    std::string output;
    int exitCode = -1; // -1: not started, or ended by a signal
};

// The exit code held in a wait status, or -1 when the process did not exit normally.
inline int ExitCodeOf(int status)
{
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs a shell command line and collects its whole standard output and its exit code.
inline CommandResult RunCommand(const std::string& command)
{
    CommandResult r;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.output.append(buf, n);
    r.exitCode = ExitCodeOf(pclose(p));
    return r;
}

// A fresh, empty directory of its own under the system temporary directory, removed with
// everything in it when the value goes away.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fribb3-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~ScratchDir()
    {
        if (!path_.empty())
            std::filesystem::remove_all(path_);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // The directory itself; empty if it could not be made.
    const std::filesystem::path& path() const { return path_; }
    // The path of name inside the directory.
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    // Writes text to the file name inside the directory and returns its path.
    std::filesystem::path Write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path_ / name, std::ios::binary) << text;
        return path_ / name;
    }

private:
    std::filesystem::path path_;
};

// All bytes of the file at path; empty when it cannot be read.
inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The whole file at path as text; empty when it cannot be read.
inline std::string ReadText(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

// Replaces the file at path with bytes; false when the file could not be written.
inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

// Writes the archive the packer makes of entries to path (an empty file when they cannot be packed).
inline void WriteArchiveFile(const std::string& path, const std::vector<ArchiveInput>& entries)
{
    WriteBytes(path, BuildArchive(entries));
}

} // namespace testsupport
