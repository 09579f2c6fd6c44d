// Fuzz target: any bytes as an archive file; opening it and reading its entries must never misbehave.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/archive.h"
#include "assets/archive_format.h"

namespace {

// Entries of the input whose names are tried; enough to reach every field kind.
constexpr uint32_t kNamesTried = 8;

const std::string& TempPath()
{
    static const std::string path = "/tmp/fribb3_archive_fuzz_" + std::to_string(getpid()) + ".zda";
    return path;
}

void TryRead(const char* name, const char* extension)
{
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(ArchiveMaps, name, extension, &size);
    if (data) {
        // Touch every byte so a short buffer shows up under the sanitizers.
        volatile uint8_t sum = 0;
        for (size_t i = 0; i < size; ++i)
            sum = static_cast<uint8_t>(sum + data[i]);
        std::free(data);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FILE* f = std::fopen(TempPath().c_str(), "wb");
    if (!f)
        return 0;
    const bool written = size == 0 || std::fwrite(data, 1, size, f) == size;
    std::fclose(f);
    if (!written)
        return 0;
    OpenArchiveFile(ArchiveMaps, TempPath().c_str());

    // Ask for the names the input itself holds at the entry positions, split
    // at their last dot, so the fuzzer can reach the size and offset checks.
    const uint32_t count = size >= kArchiveHeaderSize ? ReadLe32(data + 4) : 0;
    for (uint32_t i = 0; i < count && i < kNamesTried; ++i) {
        const size_t at = kArchiveHeaderSize + kArchiveEntrySize * i;
        if (at + kArchiveNameSize > size)
            break;
        char name[kArchiveNameSize + 1];
        std::memcpy(name, data + at, kArchiveNameSize);
        name[kArchiveNameSize] = 0;
        char* dot = std::strrchr(name, '.');
        if (!dot)
            continue;
        *dot = 0;
        TryRead(name, dot + 1);
    }
    TryRead("logo", "bmp");
    TryRead("", "");
    CloseArchives();
    std::remove(TempPath().c_str());
    return 0;
}
