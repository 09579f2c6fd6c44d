// Builds tiny ProTracker modules in memory, so music tests and benchmarks need no content files.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace music_test {

constexpr int kModTitleSize = 20;
constexpr int kModSampleHeaderSize = 30;
constexpr int kModSamples31 = 31;
constexpr int kModOrderTableSize = 128;
constexpr int kModRows = 64;
constexpr int kModCellSize = 4;
// Amiga period of C-3, the middle note of the tracker's range.
constexpr int kPeriodC3 = 428;
// One period of the square-wave sample, in bytes.
constexpr int kSampleWaveBytes = 32;

// What the generated module contains.
struct TinyModOptions {
    int channels = 4;      // 4 gives "M.K.", others "<n>CHN"
    int speed = 1;         // ticks per row; at the default tempo a tick is 20 ms
    int sampleBytes = 512; // a looping square wave
    bool everyChannelPlays = false;
    std::string signature; // overrides the signature when not empty
};

inline void PutBe16(std::vector<uint8_t>& m, size_t at, int v)
{
    m[at] = static_cast<uint8_t>(v >> 8);
    m[at + 1] = static_cast<uint8_t>(v);
}

// A valid 31-sample MOD: one pattern of 64 rows, a note at row 0 held to the end by a
// looping sample, so the level is steady for the whole song (64 x speed ticks of 20 ms).
inline std::vector<uint8_t> MakeTinyMod(const TinyModOptions& o = {})
{
    const int headerSize = kModTitleSize + kModSamples31 * kModSampleHeaderSize + 2 + kModOrderTableSize + 4;
    const int patternSize = kModRows * o.channels * kModCellSize;
    std::vector<uint8_t> m(headerSize + patternSize + o.sampleBytes, 0);
    std::memcpy(m.data(), "fribb3 test tune", 16);

    // Sample 1: full volume, looped over its whole length.
    const size_t s1 = kModTitleSize;
    std::memcpy(&m[s1], "square", 6);
    PutBe16(m, s1 + 22, o.sampleBytes / 2);
    m[s1 + 25] = 64;
    PutBe16(m, s1 + 26, 0);
    PutBe16(m, s1 + 28, o.sampleBytes / 2);
    // Unused samples keep a loop length of one word, as trackers write them.
    for (int i = 1; i < kModSamples31; ++i)
        PutBe16(m, kModTitleSize + i * kModSampleHeaderSize + 28, 1);

    const size_t song = kModTitleSize + kModSamples31 * kModSampleHeaderSize;
    m[song] = 1;       // one order
    m[song + 1] = 127; // no restart position
    m[song + 2] = 0;   // order 0 plays pattern 0
    std::string sig = o.signature;
    if (sig.empty())
        sig = o.channels == 4 ? "M.K." : std::to_string(o.channels) + "CHN";
    std::memcpy(&m[song + 2 + kModOrderTableSize], sig.data(), 4);

    const size_t pattern = headerSize;
    const int playing = o.everyChannelPlays ? o.channels : 1;
    for (int ch = 0; ch < playing; ++ch) {
        uint8_t* cell = &m[pattern + ch * kModCellSize];
        const int period = kPeriodC3 >> (ch % 3); // spread octaves over the channels
        cell[0] = static_cast<uint8_t>((1 & 0xF0) | (period >> 8));
        cell[1] = static_cast<uint8_t>(period & 0xFF);
        cell[2] = static_cast<uint8_t>(((1 & 0x0F) << 4) | (ch == 0 ? 0xF : 0)); // channel 0 sets the speed
        cell[3] = static_cast<uint8_t>(ch == 0 ? o.speed : 0);
    }

    const size_t data = headerSize + patternSize;
    for (int i = 0; i < o.sampleBytes; ++i)
        m[data + i] = static_cast<uint8_t>((i % kSampleWaveBytes) < kSampleWaveBytes / 2 ? 100 : -100);
    return m;
}

} // namespace music_test
