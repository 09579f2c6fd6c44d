// The .zda archive layout and its XOR chain, shared by the game's reader and the packer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Header: magic "ZDA\0", entry count, directory size (header plus entry table).
constexpr uint8_t kArchiveMagic[4] = {'Z', 'D', 'A', 0};
constexpr size_t kArchiveHeaderSize = 12;
// Entry: 40-byte NUL-terminated name, unpacked size, packed size, data offset.
constexpr size_t kArchiveEntrySize = 52;
constexpr size_t kArchiveNameSize = 40;
// First chain byte of the XOR scrambling of every entry.
constexpr uint8_t kArchiveChainSeed = 0xa7;
// Entries larger than this (packed or unpacked) are refused rather than allocated.
constexpr uint32_t kArchiveMaxEntrySize = 64u * 1024 * 1024;
// More entries than this make an archive unreadable: the game's largest holds a few dozen, and a
// damaged count must not cost a huge directory read at every start.
constexpr uint32_t kArchiveMaxEntries = 4096;

// Reads and writes little-endian 32-bit words.
uint32_t ReadLe32(const uint8_t* p);
void WriteLe32(uint8_t* p, uint32_t v);

// Turns plain bytes into chained bytes in place: s[i] = p[i] ^ p[i-1], p[-1] = seed.
void ScrambleChain(uint8_t* data, size_t size);
// The exact inverse of ScrambleChain.
void UnscrambleChain(uint8_t* data, size_t size);

// One file to be packed: its entry name ("blocks.bmp") and contents.
struct ArchiveInput {
    std::string name;
    std::vector<uint8_t> bytes;
};

// Builds a whole archive in memory: header, entry table, then each entry
// scrambled and zlib-compressed, in the order given. Names longer than 39
// characters or holding a NUL, entries above kArchiveMaxEntrySize, more than
// kArchiveMaxEntries entries and archives beyond 4 GiB are refused (empty result).
std::vector<uint8_t> BuildArchive(const std::vector<ArchiveInput>& inputs);
