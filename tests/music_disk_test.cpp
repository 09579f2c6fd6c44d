// Music through the real mixer: the disk audio driver records what the game would play
// while a stage tune fades in; the recording must be sound, and rise.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "test_support.h"

namespace {

const char* const kProbe = FRIBB3_BINARY_DIR "/tests/music_disk_probe";
const char* const kBuiltMusicArchive = FRIBB3_BINARY_DIR "/data/music.zda";
// The probe records the fade and half its length again: the fade is the first two thirds.
// The disk driver is paced at 4 ms a buffer so the probe's polling sees the fade end on time.
constexpr int kWindows = 12;
constexpr int kFadeWindows = 8;

struct Recording {
    std::vector<int16_t> samples; // interleaved stereo, from the first sound on
    int exitCode = -1;
};

Recording Record(const std::string& args)
{
    const std::filesystem::path out = std::filesystem::temp_directory_path() /
                                      ("fribb3_disk_" + std::to_string(getpid()) + ".raw");
    std::filesystem::remove(out);
    const std::string cmd = "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='" + out.string() +
                            "' SDL_DISKAUDIODELAY=4 '" + kProbe + "' " + args + " >/dev/null 2>&1";
    Recording r;
    r.exitCode = testsupport::ExitCodeOf(std::system(cmd.c_str()));
    std::ifstream in(out, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::filesystem::remove(out);
    std::vector<int16_t> all(bytes.size() / 2);
    if (!all.empty())
        std::memcpy(all.data(), bytes.data(), all.size() * 2);
    // The mixer ran silent until the music started.
    size_t first = 0;
    while (first < all.size() && all[first] == 0)
        ++first;
    r.samples.assign(all.begin() + static_cast<long>(first), all.end());
    return r;
}

std::vector<double> WindowLevels(const std::vector<int16_t>& s)
{
    std::vector<double> levels;
    const size_t size = s.size() / kWindows;
    for (int w = 0; w < kWindows; ++w) {
        double sum = 0.0;
        for (size_t i = w * size; i < (w + 1) * size; ++i)
            sum += static_cast<double>(s[i]) * s[i];
        levels.push_back(size ? std::sqrt(sum / size) : 0.0);
    }
    return levels;
}

TEST(MusicDiskTest, FadeInThroughTheMixerRisesToASteadyLevel)
{
    const Recording r = Record("");
    ASSERT_EQ(r.exitCode, 0);
    ASSERT_GT(r.samples.size(), 100000u) << "the mixer produced no music";
    const std::vector<double> level = WindowLevels(r.samples);
    EXPECT_GT(level[0], 0.0);
    for (int w = 1; w < kFadeWindows - 1; ++w)
        EXPECT_GT(level[w], level[w - 1] * 1.05) << "window " << w;
    EXPECT_LT(level[0] * 5.0, level[kWindows - 1]);
    // After the fade the one-note tune holds its level.
    for (int w = kFadeWindows + 1; w < kWindows; ++w)
        EXPECT_NEAR(level[w], level[kWindows - 1], level[kWindows - 1] * 0.03) << "window " << w;
}

TEST(MusicDiskTest, APlayOnceTuneRemovesItsOwnHookOnTheAudioThread)
{
    // The hook takes the audio lock again from inside the audio callback; a lock that
    // were not re-entrant would hang here until the probe's timeout.
    const std::string cmd = std::string("SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null SDL_DISKAUDIODELAY=4 '") +
                            kProbe + "' --once 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    char line[64] = {};
    const bool got = std::fgets(line, sizeof line, p) != nullptr;
    const int status = pclose(p);
    EXPECT_TRUE(got);
    EXPECT_STREQ(line, "stopped by itself\n");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(MusicDiskTest, StageOneTuneFadesInThroughTheMixer)
{
    OpenArchiveFile(ArchiveMusic, kBuiltMusicArchive);
    uint8_t* entry = ReadArchiveEntry(ArchiveMusic, "1.labyrinth", "mod");
    CloseArchives();
    if (!entry)
        GTEST_SKIP() << "no stage music built yet";
    std::free(entry);

    const Recording r = Record(std::string("'") + kBuiltMusicArchive + "'");
    ASSERT_EQ(r.exitCode, 0);
    ASSERT_GT(r.samples.size(), 100000u);
    const std::vector<double> level = WindowLevels(r.samples);
    double late = 0.0;
    for (int w = kFadeWindows; w < kWindows; ++w)
        late += level[w] / (kWindows - kFadeWindows);
    EXPECT_GT(level[0], 0.0);
    EXPECT_GT(late, 1000.0) << "full-volume music is clearly audible";
    EXPECT_LT(level[0] * 4.0, late) << "the start of the fade is much quieter than its end";
    EXPECT_LT(level[1], level[kFadeWindows - 1]);
}

} // namespace
