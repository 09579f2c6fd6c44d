// Archive directories and entry reading, safe against damaged archive files.
#include "assets/archive.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/archive_format.h"

namespace {

const char* const kArchiveNames[ArchiveCount] = {"gfx", "music", "maps", "sound"};

// Largest file ReadWholeFile will load.
constexpr uint64_t kMaxWholeFileSize = kArchiveMaxEntrySize;

struct Archive {
    FILE* file = nullptr;
    std::string path;
    uint8_t* directory = nullptr; // the first D bytes of the file
    uint32_t directorySize = 0;   // D: also the start of the data area
    uint32_t entryCount = 0;      // N; the table lies wholly inside the directory
    uint64_t fileSize = 0;
};

Archive archives[ArchiveCount];

void Reset(Archive& a)
{
    if (a.file)
        std::fclose(a.file);
    std::free(a.directory);
    a = Archive{};
}

bool FileSize(FILE* f, uint64_t& size)
{
    if (std::fseek(f, 0, SEEK_END) != 0)
        return false;
    const long end = std::ftell(f);
    if (end < 0)
        return false;
    size = static_cast<uint64_t>(end);
    return std::fseek(f, 0, SEEK_SET) == 0;
}

// Finds the first entry whose NUL-terminated name equals key; null if none.
const uint8_t* FindEntry(const Archive& a, const char* key)
{
    const size_t keyLen = std::strlen(key);
    if (keyLen >= kArchiveNameSize)
        return nullptr;
    for (uint32_t i = 0; i < a.entryCount; ++i) {
        const uint8_t* e = a.directory + kArchiveHeaderSize + kArchiveEntrySize * i;
        // A name must end inside its 40 bytes; memcmp of keyLen + 1 bytes checks the NUL too.
        if (std::memcmp(e, key, keyLen + 1) == 0)
            return e;
    }
    return nullptr;
}

} // namespace

void OpenArchiveFile(ArchiveId id, const char* path)
{
    Archive& a = archives[id];
    Reset(a);
    a.path = path;
    a.file = std::fopen(path, "rb");
    if (!a.file)
        return;
    uint8_t header[kArchiveHeaderSize];
    if (!FileSize(a.file, a.fileSize) || std::fread(header, 1, sizeof header, a.file) != sizeof header ||
        std::memcmp(header, kArchiveMagic, 4) != 0)
        return;
    const uint32_t count = ReadLe32(header + 4);
    const uint32_t dirSize = ReadLe32(header + 8);
    if (count > kArchiveMaxEntries)
        return;
    // The directory must hold the header and the whole entry table and lie
    // inside the file; an archive whose directory contradicts its entry count
    // is malformed and stays empty, so no entry beyond the loaded bytes is read.
    const uint64_t tableEnd = kArchiveHeaderSize + static_cast<uint64_t>(kArchiveEntrySize) * count;
    if (dirSize < tableEnd || dirSize > a.fileSize)
        return;
    uint8_t* dir = static_cast<uint8_t*>(std::malloc(dirSize));
    if (!dir)
        return;
    if (std::fseek(a.file, 0, SEEK_SET) != 0 || std::fread(dir, 1, dirSize, a.file) != dirSize) {
        std::free(dir);
        return;
    }
    a.directory = dir;
    a.directorySize = dirSize;
    a.entryCount = count;
}

void OpenArchives()
{
    for (int id = 0; id < ArchiveCount; ++id) {
        char path[64];
        std::snprintf(path, sizeof path, "%s%c%s.zda", "./data", '/', kArchiveNames[id]);
        OpenArchiveFile(static_cast<ArchiveId>(id), path);
    }
}

void CloseArchives()
{
    for (Archive& a : archives)
        Reset(a);
}

uint8_t* ReadArchiveEntry(ArchiveId id, const char* name, const char* extension, size_t* outSize)
{
    if (id < 0 || id >= ArchiveCount)
        return nullptr;
    Archive& a = archives[id];
    if (!a.directory)
        return nullptr;
    char key[256];
    if (std::snprintf(key, sizeof key, "%s.%s", name, extension) >= static_cast<int>(sizeof key))
        return nullptr;
    const uint8_t* e = FindEntry(a, key);
    if (!e)
        return nullptr;
    const uint32_t unpackedSize = ReadLe32(e + 40);
    const uint32_t packedSize = ReadLe32(e + 44);
    const uint64_t fileOffset = static_cast<uint64_t>(a.directorySize) + ReadLe32(e + 48);
    if (packedSize < 1 || unpackedSize < 1 || packedSize > kArchiveMaxEntrySize ||
        unpackedSize > kArchiveMaxEntrySize || fileOffset + packedSize > a.fileSize)
        return nullptr;

    if (!a.file) {
        a.file = std::fopen(a.path.c_str(), "rb");
        if (!a.file)
            return nullptr;
    }
    uint8_t* packed = static_cast<uint8_t*>(std::malloc(packedSize));
    if (!packed)
        return nullptr;
    if (std::fseek(a.file, static_cast<long>(fileOffset), SEEK_SET) != 0 ||
        std::fread(packed, 1, packedSize, a.file) != packedSize) {
        std::free(packed);
        return nullptr;
    }
    uint8_t* plain = static_cast<uint8_t*>(std::malloc(unpackedSize));
    if (!plain) {
        std::free(packed);
        return nullptr;
    }
    uLongf destLen = unpackedSize;
    const int rc = uncompress(plain, &destLen, packed, packedSize);
    std::free(packed);
    // The stream must unpack to exactly the size the directory promises.
    if (rc != Z_OK || destLen != unpackedSize) {
        std::free(plain);
        return nullptr;
    }
    UnscrambleChain(plain, unpackedSize);
    if (outSize)
        *outSize = unpackedSize;
    return plain;
}

std::FILE* OpenForReading(const char* path)
{
    // Without O_NONBLOCK, opening a FIFO waits for a writer for ever.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    std::FILE* f = fdopen(fd, "rb");
    if (!f)
        close(fd);
    return f;
}

uint8_t* ReadWholeFile(const char* path, size_t* outSize)
{
    FILE* f = OpenForReading(path);
    if (!f)
        return nullptr;
    uint64_t size = 0;
    // A directory opens too and reports an absurd length on some file systems;
    // user files are small, so anything beyond the entry limit is refused.
    if (!FileSize(f, size) || size == 0 || size > kMaxWholeFileSize) {
        std::fclose(f);
        return nullptr;
    }
    uint8_t* data = static_cast<uint8_t*>(std::malloc(size));
    if (!data) {
        std::fclose(f);
        return nullptr;
    }
    const size_t got = std::fread(data, 1, size, f);
    std::fclose(f);
    if (got != size) {
        std::free(data);
        return nullptr;
    }
    if (outSize)
        *outSize = size;
    return data;
}

const char* BuildPath(const char* name, const char* extension)
{
    static char path[256];
    std::snprintf(path, sizeof path, "%s%s.%s", "./", name, extension);
    return path;
}
