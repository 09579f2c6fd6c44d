// Loading the sound effects: a missing, undecodable or damaged effect ends the game naming it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "assets/archive_format.h"
#include "audio/sound_effects.h"
#include "test_support.h"

namespace {

const char* const kBuiltSoundArchive = FRIBB3_BINARY_DIR "/data/sound.zda";
const char* const kProbe = FRIBB3_BINARY_DIR "/tests/sound_load_probe";

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
    // The same claim in a file that starts at "WAVE" without its RIFF header, which SDL still reads.
    std::vector<ArchiveInput> headless = huge;
    headless[SoundKrack].bytes.erase(headless[SoundKrack].bytes.begin(), headless[SoundKrack].bytes.begin() + 8);
    for (const auto& [in, name] :
         {std::pair{cut, "splash"}, std::pair{huge, "krack"}, std::pair{headless, "krack"}}) {
        const ProbeResult r = RunProbe(Write(in));
        EXPECT_EQ(r.output, "Unable to load sound: " + std::string(name) + " (chunk larger than the file)\n");
        EXPECT_EQ(r.exitCode, 1);
    }
}

} // namespace
