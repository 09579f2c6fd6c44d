// RIFF WAVE encoding and decoding for 16-bit PCM, little-endian.
#include "wav_file.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr uint32_t kFmtChunkSize = 16;
constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kBitsPerSample = 16;
constexpr size_t kRiffHeaderSize = 12; // "RIFF", size, "WAVE"
constexpr size_t kChunkHeaderSize = 8; // tag, size

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
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

uint32_t Get16(const uint8_t* p)
{
    return p[0] | p[1] << 8;
}

uint32_t Get32(const uint8_t* p)
{
    return Get16(p) | Get16(p + 2) << 16;
}

} // namespace

std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int channels, int rate)
{
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    const uint16_t blockAlign = static_cast<uint16_t>(channels * kBitsPerSample / 8);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 4 + 8 + kFmtChunkSize + 8 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, kFmtChunkSize);
    Put16(out, kFormatPcm);
    Put16(out, static_cast<uint16_t>(channels));
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate) * blockAlign);
    Put16(out, blockAlign);
    Put16(out, kBitsPerSample);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (int16_t s : samples)
        Put16(out, static_cast<uint16_t>(s));
    return out;
}

bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate)
{
    const std::vector<uint8_t> bytes = EncodeWav(samples, channels, rate);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool DecodeWav(const uint8_t* data, size_t size, WavAudio& out)
{
    if (!data || size < kRiffHeaderSize || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0)
        return false;
    bool haveFormat = false;
    for (size_t at = kRiffHeaderSize; at + kChunkHeaderSize <= size;) {
        const uint32_t chunkSize = Get32(data + at + 4);
        const uint8_t* body = data + at + kChunkHeaderSize;
        if (chunkSize > size - at - kChunkHeaderSize)
            return false;
        if (std::memcmp(data + at, "fmt ", 4) == 0) {
            if (chunkSize < kFmtChunkSize || Get16(body) != kFormatPcm || Get16(body + 14) != kBitsPerSample)
                return false;
            out.channels = static_cast<int>(Get16(body + 2));
            out.rate = static_cast<int>(Get32(body + 4));
            haveFormat = out.channels > 0;
        } else if (std::memcmp(data + at, "data", 4) == 0) {
            if (!haveFormat)
                return false;
            out.samples.resize(chunkSize / 2);
            for (size_t i = 0; i < out.samples.size(); ++i)
                out.samples[i] = static_cast<int16_t>(Get16(body + 2 * i));
            return true;
        }
        at += kChunkHeaderSize + chunkSize + (chunkSize & 1); // chunks are padded to even sizes
    }
    return false;
}
