// RIFF WAVE writer: "RIFF", "fmt " (PCM, mono, 16-bit) and "data" chunks, little-endian.
#include "sfx_wav.h"

#include <cstdio>

namespace {

constexpr uint32_t kFmtChunkSize = 16;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kMono = 1;
constexpr uint16_t kBitsPerSample = 16;

void Put16(std::vector<uint8_t>& out, uint16_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

void PutTag(std::vector<uint8_t>& out, const char* tag)
{
    out.insert(out.end(), tag, tag + 4);
}

} // namespace

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int rate)
{
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    const uint16_t blockAlign = kMono * kBitsPerSample / 8;
    std::vector<uint8_t> out;
    PutTag(out, "RIFF");
    Put32(out, 4 + 8 + kFmtChunkSize + 8 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, kFmtChunkSize);
    Put16(out, kFormatPcm);
    Put16(out, kMono);
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, kBitsPerSample);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : samples)
        Put16(out, static_cast<uint16_t>(s));

    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}
