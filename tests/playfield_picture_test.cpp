// The playfield renderer where the replays' pictures do not look: the background left of a
// narrow stage, the quit question asked over the pause menu, the water's phase on every frame
// counter, and the title frame that leaves the title drawing nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/front_end_images.h"
#include "game/game_state.h"
#include "game/playfield_render.h"
#include "game/stage_loader.h"
#include "game/stage_loop.h"
#include "game/title_menu.h"
#include "platform/draw.h"
#include "platform/draw_listener.h"
#include "platform/frame_clock.h"
#include "platform/input.h"
#include "platform/tick_source.h"
#include "test_screen.h"
#include "world/map_format.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/tile_codes.h"
#include "world/world_state.h"

using namespace testscreen;

namespace {

std::vector<std::string> texts;
std::vector<int> waterPhases;
int drawCalls = 0;
uint32_t scriptedRelease = 0;

class PlayfieldPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Frames paced on the virtual clock: a slow or busy machine skips no draw.
        UseVirtualClock(0);
        ResetFrameClock();
        OpenScreen(16);
        CreateDimOverlay();
        game = GameState{};
        game.stage = 1;
        world = WorldState{};
        world.lives = kStartLives;
        ResetRestartPoint();
        StageMap map;
        map.columns = 10;
        map.cells.assign(10 * kRows, 0);
        map.cells[kWaterColumn * kRows + kWaterRow] = tile::WaterSurfaceA;
        const std::vector<uint8_t> bytes = EncodeStageMap(map);
        ApplyStageMap(bytes.data(), bytes.size(), hero);
        texts.clear();
        waterPhases.clear();
        drawCalls = 0;
        SetDrawListener([](const DrawCall& call) {
            ++drawCalls;
            if (call.text)
                texts.emplace_back(call.text, static_cast<size_t>(call.v[2]));
            if (std::string(call.what) == "water")
                waterPhases.push_back(call.v[2]);
        });
    }
    void TearDown() override
    {
        SetDrawListener(nullptr);
        SetPumpHook(nullptr);
        FreeSurface(BackImage);
        BackImage = nullptr;
        CloseScreen();
        UseRealClock();
    }
    static constexpr int kWaterColumn = 2;
    static constexpr int kWaterRow = 5;
    Player hero;
};

TEST_F(PlayfieldPicture, BackgroundCoversTheScreenLeftOfANarrowStage)
{
    // Columns 0..31 red, 32..63 green.
    BackImage = MakePicture(64, kStageHeight, [](int x, int) { return x < 32 ? Rgb{255, 0, 0} : Rgb{0, 255, 0}; });
    ASSERT_EQ(world.cameraX, -161) << "a ten-column stage leaves the camera left of the stage";
    DrawPlayfield(500, hero);
    // (-161 >> 1) = -81, which is source column 47 of the 64-wide strip.
    const Rgb red = Stored(255, 0, 0), green = Stored(0, 255, 0);
    for (auto [x, colour] : {std::pair{0, green}, {16, green}, {17, red}, {48, red}, {49, green}, {319, green}})
        EXPECT_EQ(ScreenPixel(x, 50), colour) << "x " << x;
}

TEST_F(PlayfieldPicture, QuitAskedWhilePausedShowsNoPauseMenu)
{
    game.paused = 1;
    game.menuState = 2;
    play.attemptFrame = 232;
    DrawStagePicture(hero);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "-PAUSE-"), texts.end());
    texts.clear();
    game.quitPending = 1;
    DrawStagePicture(hero);
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "-PAUSE-"), texts.end());
}

TEST_F(PlayfieldPicture, WaterPhaseIsTheFrameShiftedByThreeLowTwoBits)
{
    // Frame -1 is the picture-only frame behind the name entry.
    const std::pair<int, int> frames[] = {{-1, 3}, {-8, 3}, {-9, 2}, {0, 0},  {7, 0},
                                          {8, 1},  {31, 3}, {32, 0}, {500, 2}};
    for (auto [frame, phase] : frames) {
        waterPhases.clear();
        DrawPlayfield(frame, hero);
        ASSERT_EQ(waterPhases.size(), 1u) << "frame " << frame;
        EXPECT_EQ(waterPhases[0], phase) << "frame " << frame;
    }
}

TEST_F(PlayfieldPicture, AChoiceThatLeavesTheTitleEndsItsFrameUndrawn)
{
    struct Case {
        int menuState;
        uint32_t released;
        bool leaves;
    };
    const Case cases[] = {
        {kMenuNewGame, kButtonStart, true},  {kMenuContinue, kButtonJump, true}, {kMenuExit, kButtonPause, true},
        {kMenuHiscores, kButtonDown, false}, {kMenuNewGame, 0, false},
    };
    SetPumpHook([] { input.released = scriptedRelease; });
    for (const Case& c : cases) {
        game.stage = 0;
        game.leaveTitle = 0;
        game.menuState = c.menuState;
        play.attemptFrame = 500;
        hero.active = 0;
        scriptedRelease = c.released;
        drawCalls = 0;
        RunStageFrame(hero);
        EXPECT_EQ(game.leaveTitle, c.leaves ? 1 : 0) << c.menuState << " " << c.released;
        if (c.leaves) {
            EXPECT_EQ(drawCalls, 0) << c.menuState << " " << c.released;
            EXPECT_EQ(play.attemptFrame, 500) << "the frame was counted";
        } else {
            EXPECT_GT(drawCalls, 0) << c.menuState << " " << c.released;
            EXPECT_EQ(play.attemptFrame, 501);
        }
    }
}

} // namespace
