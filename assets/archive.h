// The four data archives in ./data and the small file helpers for user files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

enum ArchiveId {
    ArchiveGfx = 0,
    ArchiveMusic = 1,
    ArchiveMaps = 2,
    ArchiveSound = 3,
    ArchiveCount = 4,
};

// Opens ./data/{gfx,music,maps,sound}.zda and loads their directories. An
// archive that is missing or malformed stays empty; nothing is reported.
void OpenArchives();

// Closes every archive file and frees every directory.
void CloseArchives();

// Opens one archive from an explicit path (tests and tools); same rules as OpenArchives.
void OpenArchiveFile(ArchiveId id, const char* path);

// Returns a new buffer (free with std::free) holding the plain bytes of entry
// "name.extension", or null when the entry is missing or anything about it is
// damaged. *outSize receives the size when outSize is given.
uint8_t* ReadArchiveEntry(ArchiveId id, const char* name, const char* extension, size_t* outSize = nullptr);

// Opens a file for reading like fopen(path, "rb"), except that a FIFO or device
// does not make it wait for a writer; null when it cannot be opened.
std::FILE* OpenForReading(const char* path);

// Returns a new buffer (free with std::free) with the whole file, or null when
// it cannot be opened, is empty, is not a readable file or exceeds 64 MiB.
uint8_t* ReadWholeFile(const char* path, size_t* outSize = nullptr);

// "./" + name + "." + extension in one static buffer, valid until the next call.
const char* BuildPath(const char* name, const char* extension);
