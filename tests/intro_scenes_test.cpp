// The maker's scene: the jingle starts on the logo's arrival frame, jump waits for it, an odd slide
// misses it, and a quit asked for before its first frame still frees what its init loaded.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>

#include "app/circle_tables.h"
#include "app/intro_scenes.h"
#include "app/maker_scene.h"
#include "assets/archive.h"
#include "audio/music.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/input.h"
#include "platform/tick_source.h"

namespace {

// A 1x window on the dummy driver with its colours and dim overlay, opened once, and the virtual clock.
void OpenHeadlessScreen()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        SDL_Init(SDL_INIT_VIDEO);
    if (!screenSurface) {
        DisplayConfig d;
        d.fullscreen = 0;
        d.zoom = 0;
        OpenDisplay(d);
        MapColors();
        CreateDimOverlay();
    }
    UseVirtualClock(0);
}

class MakerSceneTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenHeadlessScreen();
        if (!SDL_WasInit(SDL_INIT_AUDIO)) {
            SDL_InitSubSystem(SDL_INIT_AUDIO);
            Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024);
        }
        const std::string data = std::string(FRIBB3_BINARY_DIR) + "/data/";
        OpenArchiveFile(ArchiveGfx, (data + "gfx.zda").c_str());
        OpenArchiveFile(ArchiveMusic, (data + "music.zda").c_str());
        PaceMusicByCaller(true);
        input = InputState{};
        MakerSceneInit();
    }
    void TearDown() override
    {
        MakerSceneDeinit();
        PaceMusicByCaller(false);
    }

    // One frame as the scene loop runs it, with `released` as the button of the
    // pump before it; returns the update's result (the frame is drawn only on 0).
    int Frame(uint32_t released)
    {
        input.released = released;
        if (MakerSceneUpdate())
            return 1;
        const bool wasPlaying = MusicPlaying();
        MakerSceneDraw(screenSurface);
        if (!wasPlaying && MusicPlaying())
            jingleStartX = makerScene.logoX;
        AdvanceMusic(17);
        return 0;
    }

    int jingleStartX = -1;
};

TEST_F(MakerSceneTest, JumpWaitsForTheLogoAndTheJingleStartsOnItsArrival)
{
    const int rest = MakerLogoRestX();
    int frames = 0;
    while (makerScene.logoX > rest) {
        ASSERT_EQ(Frame(kButtonJump), 0) << "jump during the slide at x " << makerScene.logoX;
        ++frames;
    }
    EXPECT_EQ(frames, (kLogoStartX - rest) / 2);
    EXPECT_EQ(jingleStartX, rest);
    EXPECT_EQ(Frame(kButtonStart), 1) << "start after the arrival ends the scene";
}

TEST_F(MakerSceneTest, WithoutInputTheSceneEndsWhenTheJinglePlayedOnce)
{
    int frames = 0;
    while (Frame(0) == 0 && frames < 2000)
        ++frames;
    const int slide = (kLogoStartX - MakerLogoRestX()) / 2;
    EXPECT_GT(frames, slide + 60) << "the jingle lasts more than a second";
    EXPECT_LT(frames, slide + 600);
    EXPECT_FALSE(MusicPlaying());
}

TEST_F(MakerSceneTest, AnOddSlideStopsLeftOfCentreWithoutTheJingle)
{
    FreeSurface(makerScene.logo);
    makerScene.logo = CreateSurface(177, 48, true); // rest x 71, 289 pixels away
    int frames = 0;
    while (Frame(0) == 0 && frames < 1000)
        ++frames;
    EXPECT_EQ(makerScene.logoX, 70);
    EXPECT_EQ(jingleStartX, -1);
    EXPECT_EQ(frames, 145) << "the scene ends on the update after the logo passed its rest";
}

TEST_F(MakerSceneTest, AQuitBeforeTheFirstFrameStillFreesWhatTheInitLoaded)
{
    MakerSceneDeinit();
    input.quitRequest = 1;
    RunScenes(0);
    EXPECT_EQ(makerScene.picture, nullptr);
    EXPECT_EQ(makerScene.logo, nullptr);
    EXPECT_EQ(makerScene.jingle, nullptr);
    input.quitRequest = 0;
}

TEST(CircleTables, HoldTruncatedCosineAndSine)
{
    for (int i = 0; i < kCircleSteps; ++i) {
        const double a = 2 * M_PI * i / kCircleSteps;
        ASSERT_EQ(CosTable[i], static_cast<int>(std::trunc(1024 * std::cos(a)))) << i;
        ASSERT_EQ(SinTable[i], static_cast<int>(std::trunc(1024 * std::sin(a)))) << i;
    }
}

} // namespace
