// Start-up and shutdown as a whole, each run in a child process: mixer format and volumes,
// caption, colours, fonts and logo, what waits for later, and what shutdown releases.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/startup.h"
#include "assets/archive.h"
#include "assets/front_end_images.h"
#include "audio/music.h"
#include "core/settings.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"

namespace {

// Mixer format start-up asks for, and the number of mixing channels.
constexpr int kFrequency = 22050;
constexpr int kStereo = 2;
constexpr int kMixingChannels = 16;

// Counts failed checks in the child and names each on standard error.
int failures = 0;

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "failed: %s\n", what);
        ++failures;
    }
}

// Starts the platform and the front end with the given percent volumes, headless.
void Start(const DisplayConfig& display, int sfxPercent, int musicPercent)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    settings.sfxVolume = sfxPercent;
    settings.musicVolume = musicPercent;
    StartPlatform(display);
    LoadFrontEnd();
}

DisplayConfig Window()
{
    DisplayConfig d;
    d.fullscreen = 0;
    d.zoom = 0;
    return d;
}

// Child: starts with the percentages and exits 0 when both mixer volumes are as expected.
void CheckVolumes(int sfxPercent, int musicPercent, int sfxMixer, int musicMixer)
{
    Start(Window(), sfxPercent, musicPercent);
    for (int channel = 0; channel < kMixingChannels; ++channel)
        Check(Mix_Volume(channel, -1) == sfxMixer, "every channel at the effects volume");
    Check(MusicTargetVolume() == musicMixer, "music volume on the 0..128 scale");
    ShutDown();
    std::_Exit(failures == 0 ? 0 : 1);
}

void CheckStartAndShutDown()
{
    DisplayConfig smoothed = Window();
    smoothed.zoom = 1;
    smoothed.smooth = 1;
    Start(smoothed, 15, 100);

    int frequency = 0;
    int channels = 0;
    Uint16 format = 0;
    Check(Mix_QuerySpec(&frequency, &format, &channels) != 0, "audio open");
    Check(frequency == kFrequency && format == AUDIO_S16LSB && channels == kStereo, "22050 Hz, S16LSB, stereo");
    Check(Mix_AllocateChannels(-1) == kMixingChannels, "16 mixing channels");

    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    Check(title && std::strcmp(title, "Fribb 3 v1.00") == 0, "window caption");
    Check(icon == nullptr || icon[0] == '\0', "no icon title");

    const SDL_PixelFormat* f = screenSurface->format;
    Check(ColorRed == SDL_MapRGB(f, 255, 0, 0) && ColorDarkRed == SDL_MapRGB(f, 128, 0, 0) &&
              ColorBlue == SDL_MapRGB(f, 0, 0, 255) && ColorDarkBlue == SDL_MapRGB(f, 0, 0, 128) &&
              ColorBlack == SDL_MapRGB(f, 0, 0, 0),
          "the five colours mapped in the screen format");
    Check(dimOverlay && dimOverlay->w == kScreenWidth && dimOverlay->h == kStageHeight &&
              (dimOverlay->flags & SDL_SRCALPHA) && dimOverlay->format->alpha == 128,
          "dim overlay 320x192 at alpha 128");

    Check(GlyphWidth(smallFont) == 8 && SurfaceHeight(smallFont[0]) == 8, "small font of 8x8 glyphs");
    Check(GlyphWidth(bigFont) == 16 && SurfaceHeight(bigFont[0]) == 16, "big font of 16x16 glyphs");
    Check(LogoImage && (LogoImage->flags & SDL_SRCCOLORKEY), "logo keyed");
    // The background comes after the intro scenes, not with the front end.
    Check(BackImage == nullptr, "back not loaded yet");
    Check(smoothBuffer != nullptr, "smoothing buffer allocated");

    ShutDown();
    Check(smallFont == nullptr && bigFont == nullptr, "fonts freed");
    Check(LogoImage == nullptr, "logo freed");
    Check(smoothBuffer == nullptr, "smoothing buffer freed");
    Check(ReadArchiveEntry(ArchiveGfx, "font", "bmp") == nullptr, "archives closed");
    // Shutdown tolerates what it already released or never made.
    ShutDown();
    std::_Exit(failures == 0 ? 0 : 1);
}

} // namespace

TEST(ReviewStartup, PercentVolumesReachTheMixerScaledTo128)
{
    // 15 percent is 19 on the mixer scale, the default music volume 100 is 128.
    EXPECT_EXIT(CheckVolumes(15, 100, 19, 128), ::testing::ExitedWithCode(0), "");
    // Integer division truncates: 50 is 64, 1 is 1, 99 is 126.
    EXPECT_EXIT(CheckVolumes(1, 50, 1, 64), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(CheckVolumes(99, 99, 126, 126), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(CheckVolumes(0, 0, 0, 0), ::testing::ExitedWithCode(0), "");
}

TEST(ReviewStartup, StartUpSetsTheMixerCaptionAndPicturesAndShutDownReleasesThem)
{
    EXPECT_EXIT(CheckStartAndShutDown(), ::testing::ExitedWithCode(0), "");
}
