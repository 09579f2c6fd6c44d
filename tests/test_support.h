// Test support shared by the test files: child commands, whole-file reads and writes, archives on disk.
#pragma once

#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assets/archive_format.h"

namespace testsupport {

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

// All bytes of the file at path; empty when it cannot be read.
inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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
