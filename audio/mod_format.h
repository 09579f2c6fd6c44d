// The ProTracker 31-sample module layout, as the module compiler writes it, the audio meter and the
// tests read it and the music player recognises it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// The song title at the start of the file.
constexpr size_t kModTitleSize = 20;
// 31 sample headers follow the title, 30 bytes each.
constexpr int kModSampleSlots = 31;
constexpr size_t kModSampleHeaderOffset = 20;
constexpr size_t kModSampleHeaderSize = 30;
// Within a sample header: the name, then big-endian word counts and two single bytes.
constexpr size_t kModSampleNameSize = 22;
constexpr size_t kModSampleLengthField = 22;
constexpr size_t kModSampleFinetuneField = 24;
constexpr size_t kModSampleVolumeField = 25;
constexpr size_t kModSampleLoopStartField = 26;
constexpr size_t kModSampleLoopLengthField = 28;
// The order list: its length, the restart byte, then 128 pattern numbers.
constexpr size_t kModOrderCountOffset = 950;
constexpr size_t kModOrderTableOffset = 952;
constexpr int kModOrderSlots = 128;
// The four-letter signature ("M.K.", "6CHN", ...) ends the header.
constexpr size_t kModSignatureOffset = 1080;
constexpr size_t kModSignatureSize = 4;
constexpr size_t kModHeaderSize = 1084;
// Pattern cells follow the header: 64 rows of one 4-byte cell per channel; the samples follow them.
constexpr int kModRowsPerPattern = 64;
constexpr size_t kModCellSize = 4;
// Effect commands the game's modules use.
constexpr int kModFxVibrato = 0x4;
constexpr int kModFxSetPanning = 0x8;
constexpr int kModFxJump = 0xB;
constexpr int kModFxSetVolume = 0xC;
constexpr int kModFxBreak = 0xD;
constexpr int kModFxSpeed = 0xF;
// An Fxx parameter at or below this sets the speed, above it the tempo.
constexpr int kModLastSpeedValue = 0x20;

// One pattern cell: sample 1..31 (0 none), period (0 no note), effect command and its parameter.
struct ModCell {
    int sample = 0;
    int period = 0;
    int effect = 0;
    int param = 0;
};

// The cell stored in the 4 bytes at in: sample and period, then sample, command and parameter.
inline ModCell DecodeModCell(const uint8_t* in)
{
    return {(in[0] & 0xF0) | (in[2] >> 4), ((in[0] & 0x0F) << 8) | in[1], in[2] & 0x0F, in[3]};
}

// Stores cell into the 4 bytes at out, the inverse of DecodeModCell.
inline void EncodeModCell(const ModCell& cell, uint8_t* out)
{
    out[0] = static_cast<uint8_t>((cell.sample & 0xF0) | ((cell.period >> 8) & 0x0F));
    out[1] = static_cast<uint8_t>(cell.period & 0xFF);
    out[2] = static_cast<uint8_t>(((cell.sample & 0x0F) << 4) | (cell.effect & 0x0F));
    out[3] = static_cast<uint8_t>(cell.param & 0xFF);
}

// File offset of a cell in a module of `channels` channels.
inline size_t ModCellOffset(int channels, int pattern, int row, int channel)
{
    return kModHeaderSize +
           ((static_cast<size_t>(pattern) * kModRowsPerPattern + row) * channels + channel) * kModCellSize;
}

// Channels the signature at sig stands for: 4 for "M.K.", "M!K!" and "FLT4", N for "NCHN"; 0 for any other.
inline int ModChannelCount(const uint8_t* sig)
{
    if (std::memcmp(sig, "M.K.", 4) == 0 || std::memcmp(sig, "M!K!", 4) == 0 || std::memcmp(sig, "FLT4", 4) == 0)
        return 4;
    if (sig[0] >= '1' && sig[0] <= '9' && std::memcmp(sig + 1, "CHN", 3) == 0)
        return sig[0] - '0';
    return 0;
}

// Patterns stored in a module whose header (kModHeaderSize bytes) is at mod: one past the highest
// pattern number in all 128 order slots, used or not.
inline int ModPatternCount(const uint8_t* mod)
{
    int count = 0;
    for (int i = 0; i < kModOrderSlots; ++i)
        count = std::max(count, mod[kModOrderTableOffset + i] + 1);
    return count;
}

// The big-endian 16-bit word at in (sample lengths and loops count words, not bytes).
inline int ModWord(const uint8_t* in)
{
    return (in[0] << 8) | in[1];
}
