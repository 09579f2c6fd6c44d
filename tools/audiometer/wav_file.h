// The one WAV format the tools write and read: 16-bit PCM, mono or interleaved stereo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Decoded PCM: interleaved samples, `channels` per frame.
struct WavAudio {
    int rate = 0;
    int channels = 0;
    std::vector<int16_t> samples;
};

// The bytes of a canonical 44-byte-header WAV holding `samples` (interleaved when channels is 2).
std::vector<uint8_t> EncodeWav(const std::vector<int16_t>& samples, int channels, int rate);

// Writes EncodeWav's bytes to path; false when the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int rate);

// Reads a 16-bit PCM WAV from memory, skipping chunks other than "fmt " and "data";
// false for anything else or a truncated file.
bool DecodeWav(const uint8_t* data, size_t size, WavAudio& out);
