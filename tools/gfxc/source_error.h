// The error the picture compiler throws for a bad source line; main prints it and fails the build.
#pragma once

#include <stdexcept>
#include <string>

// Throws a std::runtime_error reading "file:line: message" (line 0 leaves the line out).
[[noreturn]] inline void FailAt(const std::string& file, int line, const std::string& message)
{
    if (line > 0)
        throw std::runtime_error(file + ":" + std::to_string(line) + ": " + message);
    throw std::runtime_error(file + ": " + message);
}
