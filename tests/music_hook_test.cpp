// The music hook called directly on a buffer: fade-in, volume changes, the library's
// volume floor, play counts and self-removal, and the renderer settings it is given.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/music.h"
#include "audio/music_hook.h"
#include "core/settings.h"
#include "tests/music_test_module.h"

namespace {

// One mixer buffer: 1024 frames of 16-bit stereo.
constexpr int kBufferBytes = 1024 * 4;
// Enough hook calls to see any test module end (the tiny one lasts about 28).
constexpr int kMaxCalls = 400;

double Rms(const std::vector<uint8_t>& buf, int fromByte = 0)
{
    const auto* s = reinterpret_cast<const int16_t*>(buf.data());
    const int first = fromByte / 2, count = static_cast<int>(buf.size()) / 2;
    double sum = 0.0;
    for (int i = first; i < count; ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return count > first ? std::sqrt(sum / (count - first)) : 0.0;
}

class MusicHookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings = Settings{};
        SetMusicOutputFormat(22050, 2);
        // The output rate only reaches the library when a module is loaded, as LoadMusic does.
        ApplyMusicSettings();
        const std::vector<uint8_t> bytes = music_test::MakeTinyMod();
        module = LoadMusicFromMemory(bytes.data(), bytes.size());
        ASSERT_NE(module, nullptr);
        musicFadeStep = 0;
        SetMusicVolume(128);
    }
    void TearDown() override { FreeMusic(module); }

    // One hook call as the mixer makes it; returns the buffer rendered.
    const std::vector<uint8_t>& Call()
    {
        MusicHook(module, buffer.data(), kBufferBytes);
        return buffer;
    }
    // Calls the hook until the module ends: the library reports the end with a buffer
    // of pure silence after the last notes have died away, or the hook removes itself.
    int CallsUntilEnd()
    {
        for (int n = 1; n <= kMaxCalls; ++n) {
            Call();
            if (!MusicPlaying() || Silent())
                return n;
        }
        return -1;
    }
    bool Silent() const
    {
        const auto* s = reinterpret_cast<const int16_t*>(buffer.data());
        for (int i = 0; i < kBufferBytes / 2; ++i) {
            if (s[i] != 0)
                return false;
        }
        return true;
    }

    MusicModule* module = nullptr;
    std::vector<uint8_t> buffer = std::vector<uint8_t>(kBufferBytes, 0xAB);
};

TEST_F(MusicHookTest, FadeInClimbsOneStepPerCallUpToTheTarget)
{
    SetMusicVolume(40);
    PlayMusicFadingIn(module);
    EXPECT_TRUE(MusicPlaying());
    EXPECT_EQ(musicVolume, 1);
    EXPECT_EQ(ModPlug_GetMasterVolume(module->file), 1u);
    double firstLevel = 0.0;
    for (int call = 1; call <= 39; ++call) {
        Call();
        ASSERT_EQ(musicVolume, 1 + call);
        ASSERT_EQ(ModPlug_GetMasterVolume(module->file), static_cast<unsigned>(1 + call));
        if (call == 1)
            firstLevel = Rms(buffer);
    }
    for (int call = 0; call < 20; ++call) {
        Call();
        EXPECT_EQ(musicVolume, 40);
    }
    EXPECT_EQ(musicTargetVolume, 40);
    EXPECT_GT(firstLevel, 0.0);
    EXPECT_GT(Rms(buffer), 5.0 * firstLevel) << "the level rises with the fade";
}

TEST_F(MusicHookTest, LoopsZeroAndOneStopAfterOnePassAndClearTheCurrentModule)
{
    for (int loops : {0, 1}) {
        SCOPED_TRACE(loops);
        PlayMusic(module, loops);
        ASSERT_TRUE(MusicPlaying());
        const int calls = CallsUntilEnd();
        ASSERT_GT(calls, 20);
        EXPECT_LT(calls, 40);
        EXPECT_FALSE(MusicPlaying());
        EXPECT_EQ(currentMusic.load(), nullptr);
        EXPECT_EQ(musicLoopsLeft, 0);
    }
}

TEST_F(MusicHookTest, LoopsMinusOneRestartsWithoutAGap)
{
    PlayMusic(module, -1);
    // Three passes of the steady tone: no stretch of silence where one pass meets the next,
    // neither the library's end-of-song fade nor the padding of the buffer it ends in.
    const auto* s = reinterpret_cast<const int16_t*>(buffer.data());
    int silentRun = 0, longestSilence = 0;
    for (int call = 0; call < 3 * 28; ++call) {
        Call();
        for (int i = 0; i < kBufferBytes / 2; i += 2) {
            silentRun = std::abs(s[i]) < 64 && std::abs(s[i + 1]) < 64 ? silentRun + 1 : 0;
            longestSilence = std::max(longestSilence, silentRun);
        }
    }
    EXPECT_LT(longestSilence, 64) << "frames of silence between passes";
    EXPECT_TRUE(MusicPlaying());
    EXPECT_EQ(musicLoopsLeft, -1);
}

} // namespace
