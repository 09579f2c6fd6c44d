// Whole-file reads and checked writes shared by the command-line tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Largest source a tool reads: far above any real map, script or tune, and a
// guard against /dev/zero or a runaway pipe given as input.
constexpr size_t kMaxToolInput = 64u * 1024 * 1024;

// Reads the whole file at path ("-" reads standard input) into text. Only
// regular files of at most kMaxToolInput bytes are read, so a directory, a FIFO
// or a device is refused at once. On failure returns false and says why in words.
bool ReadToolInput(const std::string& path, std::string& text, std::string& why);

// Writes bytes as the whole file at path. True only when every byte was
// written and the file closed without error (a full disk often shows only then).
bool WriteToolOutput(const std::string& path, const void* data, size_t size);

// The same for a byte vector.
inline bool WriteToolOutput(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteToolOutput(path, bytes.data(), bytes.size());
}
