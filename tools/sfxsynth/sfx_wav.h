// Writes 16-bit mono PCM samples as a RIFF WAVE file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes a canonical 44-byte-header WAV; false when the file cannot be written.
bool WriteWav(const std::string& path, const std::vector<int16_t>& samples, int rate);
