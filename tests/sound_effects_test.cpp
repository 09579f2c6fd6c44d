// Sound effects: the built archive's WAVs decode and are well made; loading, playback,
// volume, and the two fatal paths of a missing or undecodable effect.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "assets/archive_format.h"
#include "audio/sound_effects.h"
#include "test_support.h"

namespace {

const char* const kBuiltSoundArchive = FRIBB3_BINARY_DIR "/data/sound.zda";
const char* const kProbe = FRIBB3_BINARY_DIR "/tests/sound_load_probe";
constexpr int kRate = 22050;
constexpr int kStereoFrameBytes = 4;

// Opens the mixer the way start-up does, on the dummy driver.
class SoundTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(kRate, AUDIO_S16LSB, 2, 1024), 0) << SDL_GetError();
        Mix_AllocateChannels(16);
        OpenArchiveFile(ArchiveSound, kBuiltSoundArchive);
    }
    void TearDown() override
    {
        FreeSoundEffects();
        CloseArchives();
        Mix_CloseAudio();
        SDL_Quit();
    }
};

// Longest fitting length for an effect, in seconds.
double MaxSeconds(const char* name)
{
    if (std::strcmp(name, "tada") == 0)
        return 2.0;
    for (const char* quick : {"klonk", "klack"}) {
        if (std::strcmp(name, quick) == 0)
            return 0.25;
    }
    if (std::strcmp(name, "chew") == 0)
        return 0.4;
    return 1.0;
}

Mix_Chunk* DecodeEntry(const char* name)
{
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(ArchiveSound, name, "wav", &size);
    if (!data)
        return nullptr;
    SDL_RWops* rw = SDL_RWFromMem(data, static_cast<int>(size));
    Mix_Chunk* chunk = Mix_LoadWAV_RW(rw, 0);
    SDL_FreeRW(rw);
    std::free(data);
    return chunk;
}

TEST_F(SoundTest, EveryEffectDecodesWithFittingLengthAndCleanEdges)
{
    for (const char* name : kSoundNames) {
        SCOPED_TRACE(name);
        Mix_Chunk* chunk = DecodeEntry(name);
        ASSERT_NE(chunk, nullptr) << Mix_GetError();
        const int frames = static_cast<int>(chunk->alen) / kStereoFrameBytes;
        const double seconds = static_cast<double>(frames) / kRate;
        // Only the fanfare may run past a second; nothing is a mere blip; effects that can
        // repeat quickly (cursor ticks, latches, rings in a row) stay short.
        EXPECT_GT(seconds, 0.05);
        EXPECT_LT(seconds, MaxSeconds(name));
        if (std::strcmp(name, "tada") == 0) {
            EXPECT_GT(seconds, 1.0);
        }
        const auto* s = reinterpret_cast<const int16_t*>(chunk->abuf);
        const int samples = frames * 2;
        int peak = 0;
        double energy = 0.0;
        for (int i = 0; i < samples; ++i) {
            peak = std::max(peak, std::abs(static_cast<int>(s[i])));
            energy += static_cast<double>(s[i]) * s[i];
        }
        EXPECT_LT(peak, 32767) << "clips";
        EXPECT_GT(peak, 8000) << "too quiet to hear";
        EXPECT_GT(std::sqrt(energy / samples), 1000.0);
        // Fades at both ends: the very first and last frames are near silence and the
        // first and last quarter millisecond only begin to rise, so nothing clicks.
        EXPECT_LT(std::abs(s[0]), 330);
        EXPECT_LT(std::abs(s[samples - 1]), 330);
        const int edge = 2 * kRate / 4000;
        for (int i = 0; i < edge; ++i) {
            EXPECT_LT(std::abs(s[i]), peak / 8) << "click at start, sample " << i;
            EXPECT_LT(std::abs(s[samples - 1 - i]), peak / 8) << "click at end, sample " << i;
        }
        Mix_FreeChunk(chunk);
    }
}

// Child-process runs of the probe against hand-made archives.
using ProbeResult = testsupport::CommandResult;

ProbeResult RunProbe(const std::string& archivePath)
{
    return testsupport::RunCommand("SDL_AUDIODRIVER=dummy '" + std::string(kProbe) + "' '" + archivePath +
                                   "' 2>/dev/null");
}

class SoundFatalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Start from the real effects so only the deliberate fault differs.
        OpenArchiveFile(ArchiveSound, kBuiltSoundArchive);
        for (const char* name : kSoundNames) {
            size_t size = 0;
            uint8_t* data = ReadArchiveEntry(ArchiveSound, name, "wav", &size);
            ASSERT_NE(data, nullptr) << name;
            inputs.push_back({std::string(name) + ".wav", std::vector<uint8_t>(data, data + size)});
            std::free(data);
        }
        CloseArchives();
    }

    std::string Write(const std::vector<ArchiveInput>& in)
    {
        const std::string path = (dir / "sound.zda").string();
        testsupport::WriteArchiveFile(path, in);
        return path;
    }

    testsupport::ScratchDir dir; // removed with the fixture
    std::vector<ArchiveInput> inputs;
};

TEST_F(SoundFatalTest, MissingEffectNamesTheEntry)
{
    inputs.erase(inputs.begin() + SoundBat);
    const ProbeResult r = RunProbe(Write(inputs));
    EXPECT_EQ(r.output, "Can't load sound file: bat\n");
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(SoundFatalTest, UndecodableEffectGivesTheMixerError)
{
    const std::string text = "this is not a wave file at all";
    inputs[SoundKrack].bytes.assign(text.begin(), text.end());
    const ProbeResult r = RunProbe(Write(inputs));
    EXPECT_EQ(r.output, "Unable to load sound: Unrecognized sound file type\n");
    EXPECT_EQ(r.exitCode, 1);
}

TEST_F(SoundFatalTest, ChunkSizesBeyondTheEntryAreRefusedBeforeDecoding)
{
    // The RIFF header survives but the format and data chunks are cut off.
    std::vector<ArchiveInput> cut = inputs;
    cut[SoundSplash].bytes.resize(20);
    // A data chunk claiming about 4 GB in a small file: the mixer would allocate all of it.
    std::vector<ArchiveInput> huge = inputs;
    std::vector<uint8_t>& wav = huge[SoundKrack].bytes;
    const size_t data = std::string(wav.begin(), wav.end()).find("data");
    ASSERT_NE(data, std::string::npos);
    WriteLe32(&wav[data + 4], 0xFF000F82u);
    for (const auto& [in, name] : {std::pair{cut, "splash"}, std::pair{huge, "krack"}}) {
        const ProbeResult r = RunProbe(Write(in));
        EXPECT_EQ(r.output, "Unable to load sound: " + std::string(name) + " (chunk larger than the file)\n");
        EXPECT_EQ(r.exitCode, 1);
    }
}

} // namespace
