// Minimal PNG writer: one IHDR, one zlib-compressed IDAT with unfiltered rows, IEND.
#include "png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <vector>

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr uint8_t kBitDepth = 8;
constexpr uint8_t kColourTypeRgba = 6;

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(v >> shift));
}

// Appends a chunk: length, type, data and the CRC of type and data.
void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    Put32(out, static_cast<uint32_t>(data.size()));
    const size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    Put32(out, static_cast<uint32_t>(crc32(0, &out[typeAt], static_cast<uInt>(out.size() - typeAt))));
}

} // namespace

bool WritePng(const RgbaImage& image, const std::string& path)
{
    std::vector<uint8_t> header;
    Put32(header, static_cast<uint32_t>(image.width));
    Put32(header, static_cast<uint32_t>(image.height));
    header.insert(header.end(), {kBitDepth, kColourTypeRgba, 0, 0, 0}); // deflate, no filter, no interlace

    std::vector<uint8_t> raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0); // filter type None
        for (int x = 0; x < image.width; ++x)
            Put32(raw, image.pixels[static_cast<size_t>(y) * image.width + x]);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<uint8_t> out(std::begin(kSignature), std::end(kSignature));
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}
