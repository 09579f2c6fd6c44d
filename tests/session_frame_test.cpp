// The stage loop's frames: intro phase, hurry timer, oxygen, pause frames and the quit question.
#include <gtest/gtest.h>

#include <cstring>

#include "game/stage_loader.h"
#include "game/stage_loop.h"
#include "world/attempt_limits.h"
#include "stage_harness.h"
#include "world/level_map.h"
#include "world/player.h"
#include "world/score.h"

using namespace stagetest;

namespace {

class StageFrames : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenHeadlessScreen();
        ClearInput();
    }
    void TearDown() override { ClearInput(); }

    // Loads `map` as stage `stage` (through the archive, or as the test map for stage -1).
    void Start(const StageBuilder& map, int stage)
    {
        if (stage < 0) {
            const std::string path = TestFilePath(".bin");
            const std::vector<uint8_t> bytes = map.Bytes();
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            SetTestMapPath(path.c_str());
        } else {
            UseMapsArchiveWith(stage, map.Bytes());
        }
        FreshGame(stage);
        LoadStage(hero);
    }
    void Frames(int n)
    {
        for (int i = 0; i < n; ++i)
            RunStageFrame(hero);
    }
    // Press and release of a key, seen by the next two frames' input steps.
    void Tap(int key)
    {
        PushKey(key, true);
        Frames(1);
        PushKey(key, false);
        Frames(1);
    }

    Player hero;
};

StageBuilder Flat()
{
    StageBuilder map(40);
    map.Ground(10);
    return map;
}

TEST_F(StageFrames, HurryTimerRunsOutAfterExactly9000UpdatedFrames)
{
    Start(Flat(), 1);
    Frames(kIntroLastFrame + 1);
    EXPECT_EQ(world.hurryTimer, 9000) << "intro frames do not count";
    Frames(8999);
    EXPECT_EQ(world.hurryTimer, 1);
    EXPECT_EQ(hero.active, 1);
    Frames(1);
    EXPECT_EQ(world.hurryTimer, 0);
    EXPECT_EQ(hero.active, 0);
    EXPECT_EQ(hero.idleTimer, 180);
    EXPECT_STREQ(world.statusMessage, "TIME UP");
}

TEST_F(StageFrames, PauseFramesDoNotCount)
{
    Start(Flat(), 1);
    Frames(kIntroLastFrame + 1 + 100);
    ASSERT_EQ(world.hurryTimer, 8900);
    PushKey(kKeyPause, true);
    Frames(1); // still playing: counts
    PushKey(kKeyPause, false);
    Frames(1); // the release opens the menu
    ASSERT_EQ(game.paused, 1);
    EXPECT_EQ(game.menuState, 2);
    const int oxygen = world.oxygen;
    Frames(50);
    EXPECT_EQ(world.hurryTimer, 8899);
    EXPECT_EQ(world.oxygen, oxygen);
    Tap(kKeyPause);
    EXPECT_EQ(game.paused, 1) << "pause does not close the menu";
    Tap(kKeyStart); // GO ON
    EXPECT_EQ(game.paused, 0);
    EXPECT_EQ(world.hurryTimer, 8899);
    Frames(10);
    EXPECT_EQ(world.hurryTimer, 8889);
}

TEST_F(StageFrames, OxygenLastsExactly620FramesInWater)
{
    StageBuilder map(40);
    map.Ground(11);
    for (int c = 0; c < 10; ++c)
        for (int r = 0; r < 11; ++r)
            map.Set(c, r, 0x55);
    Start(map, 1);
    ASSERT_TRUE(HeroInWater(hero));
    Frames(kIntroLastFrame + 1);
    EXPECT_EQ(world.oxygen, 620);
    Frames(619);
    EXPECT_EQ(world.oxygen, 1);
    EXPECT_EQ(hero.dead, 0);
    Frames(1);
    EXPECT_EQ(world.oxygen, 0);
    EXPECT_EQ(hero.dead, 1);
    EXPECT_EQ(hero.deathEffect, 16);
    EXPECT_STREQ(world.statusMessage, "DROWNED");
}

TEST_F(StageFrames, LeavingWaterForOneFrameRestartsTheSplash)
{
    StageBuilder map(40);
    map.Ground(10);
    for (int r = 0; r < 10; ++r)
        map.Set(1, r, 0xA3);
    Start(map, 1);
    hero.x = 16;
    RunOxygen(hero);
    EXPECT_EQ(world.splashPlayed, 1);
    EXPECT_EQ(world.oxygen, 619);
    RunOxygen(hero);
    EXPECT_EQ(world.oxygen, 618);
    hero.x = 64;
    RunOxygen(hero);
    EXPECT_EQ(world.splashPlayed, 0);
    EXPECT_EQ(world.oxygen, 620);
    RunOxygen(hero);
    EXPECT_EQ(world.oxygen, 620) << "refills settle at the full mark";
    hero.x = 16;
    RunOxygen(hero);
    EXPECT_EQ(world.splashPlayed, 1) << "a new stay in water splashes again";
}

TEST_F(StageFrames, HeroDrowningAsHeEntersTheWaterMakesNoSplash)
{
    StageBuilder map(40);
    map.Ground(10);
    for (int r = 0; r < 10; ++r)
        map.Set(1, r, 0x55);
    Start(map, 1);
    hero.x = 16;
    world.oxygen = 1;
    world.splashPlayed = 0;
    RunOxygen(hero);
    EXPECT_EQ(world.oxygen, 0);
    EXPECT_EQ(hero.dead, 1);
    EXPECT_EQ(world.splashPlayed, 0) << "the splash is for a living hero, looked at after the drowning";
}

TEST_F(StageFrames, OxygenStaysDownForADeadHero)
{
    Start(Flat(), 1);
    world.oxygen = 300;
    hero.dead = 1;
    RunOxygen(hero);
    EXPECT_EQ(world.oxygen, 300);
    EXPECT_EQ(world.splashPlayed, 0);
}

TEST_F(StageFrames, StartOrJumpSkipsTheIntro)
{
    Start(Flat(), 1);
    Frames(10);
    Tap(kKeyJump);
    EXPECT_EQ(game.attemptFrame, kIntroLastFrame + 1);
    const int x = hero.x;
    Frames(1);
    EXPECT_EQ(world.hurryTimer, 8999) << "the world runs from the next frame";
    EXPECT_EQ(hero.x, x);
}

TEST_F(StageFrames, TestModeIntroCannotBeSkipped)
{
    Start(Flat(), -1);
    Frames(10);
    Tap(kKeyStart);
    EXPECT_EQ(game.attemptFrame, 12);
    EXPECT_EQ(game.paused, 0);
}

TEST_F(StageFrames, ButtonHeldThroughTheIntroMustBePressedAgain)
{
    Start(Flat(), 1);
    PushKey(kKeyRight, true);
    Frames(kIntroLastFrame + 1 + 30);
    EXPECT_EQ(hero.x, 16) << "right was held since frame 0";
    PushKey(kKeyRight, false);
    Frames(1);
    PushKey(kKeyRight, true);
    Frames(10);
    EXPECT_EQ(hero.x, 36);
}

TEST_F(StageFrames, QuitDuringTheIntroIsAskedAtFrame181)
{
    Start(Flat(), 1);
    Frames(5);
    PushKey(27, true);
    Frames(1);
    EXPECT_EQ(input.quitRequest, 1);
    Frames(kIntroLastFrame - 5);
    EXPECT_EQ(game.quitPending, 0) << "the intro pumps events without PollInput";
    EXPECT_EQ(game.attemptFrame, kIntroLastFrame + 1);
    // Answer the question that frame 181 asks: left is yes.
    PushKey(kKeyLeft, true);
    PushKey(kKeyLeft, false);
    Frames(1);
    EXPECT_EQ(game.quitPending, 1);
}

TEST_F(StageFrames, DeclinedQuitGoesOnPlaying)
{
    Start(Flat(), 1);
    Frames(kIntroLastFrame + 1);
    PushKey(27, true);
    PushKey(kKeyRight, true);
    PushKey(kKeyRight, false);
    Frames(1);
    EXPECT_EQ(game.quitPending, 0);
    EXPECT_EQ(input.quitRequest, 0);
}

TEST_F(StageFrames, AfterADeathStartEndsTheFallAtOnce)
{
    Start(Flat(), 1);
    Frames(kIntroLastFrame + 1);
    KillPlayer(hero, "SUICIDE", 0);
    Frames(3);
    ASSERT_EQ(hero.active, 1);
    Tap(kKeyJump);
    EXPECT_GE(hero.y, 2490) << "sent to y 2500";
    int frames = 0;
    while (hero.active && frames < 1000) {
        Frames(1);
        ++frames;
    }
    EXPECT_LT(frames, 30) << "only the rest of the leap remains, not the fall from the playfield";
}

TEST_F(StageFrames, AttemptLoopEndsAfterTheCountdown)
{
    Start(Flat(), 1);
    Frames(kIntroLastFrame + 1);
    EndAttempt(hero, "TIME UP", 0);
    const int before = game.attemptFrame;
    RunStageLoop(hero);
    EXPECT_EQ(game.attemptFrame - before, 179) << "179 more frames show the message";
}

TEST_F(StageFrames, FinishedHeroEndsTheLoopBeforeTheNextFrame)
{
    Start(Flat(), 1);
    hero.finished = 1;
    RunStageLoop(hero);
    EXPECT_EQ(game.attemptFrame, 0);
}

} // namespace
