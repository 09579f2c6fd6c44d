// Archive layout helpers and the in-memory archive writer.
#include "assets/archive_format.h"

#include <zlib.h>

#include <cstring>

uint32_t ReadLe32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

void WriteLe32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

void ScrambleChain(uint8_t* data, size_t size)
{
    uint8_t prev = kArchiveChainSeed;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t plain = data[i];
        data[i] = plain ^ prev;
        prev = plain;
    }
}

void UnscrambleChain(uint8_t* data, size_t size)
{
    uint8_t k = kArchiveChainSeed;
    for (size_t i = 0; i < size; ++i) {
        const uint8_t b = data[i] ^ k;
        data[i] = b;
        k = b;
    }
}

std::vector<uint8_t> BuildArchive(const std::vector<ArchiveInput>& inputs)
{
    const size_t n = inputs.size();
    if (n > kArchiveMaxEntries)
        return {};
    const size_t dirSize = kArchiveHeaderSize + kArchiveEntrySize * n;
    std::vector<uint8_t> out(dirSize, 0);
    std::memcpy(out.data(), kArchiveMagic, 4);
    WriteLe32(&out[4], static_cast<uint32_t>(n));
    WriteLe32(&out[8], static_cast<uint32_t>(dirSize));

    for (size_t i = 0; i < n; ++i) {
        const ArchiveInput& in = inputs[i];
        // The reader needs the NUL inside the 40 name bytes and refuses huge entries.
        if (in.name.size() >= kArchiveNameSize || in.name.find('\0') != std::string::npos ||
            in.bytes.size() > kArchiveMaxEntrySize)
            return {};
        std::vector<uint8_t> plain = in.bytes;
        ScrambleChain(plain.data(), plain.size());
        uLongf packedSize = compressBound(plain.size());
        std::vector<uint8_t> packed(packedSize);
        if (compress(packed.data(), &packedSize, plain.data(), plain.size()) != Z_OK)
            return {};
        packed.resize(packedSize);

        uint8_t* e = &out[kArchiveHeaderSize + kArchiveEntrySize * i];
        std::memcpy(e, in.name.data(), in.name.size());
        WriteLe32(e + 40, static_cast<uint32_t>(in.bytes.size()));
        WriteLe32(e + 44, static_cast<uint32_t>(packed.size()));
        WriteLe32(e + 48, static_cast<uint32_t>(out.size() - dirSize));
        out.insert(out.end(), packed.begin(), packed.end());
        // Offsets and sizes are 32-bit fields.
        if (out.size() > UINT32_MAX)
            return {};
    }
    return out;
}
