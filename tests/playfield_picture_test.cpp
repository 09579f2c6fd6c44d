// The playfield renderer where the replays' pictures do not look: the background left of a
// narrow stage, and the quit question asked over the pause menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/front_end_images.h"
#include "game/game_state.h"
#include "game/playfield_render.h"
#include "game/stage_loader.h"
#include "platform/draw.h"
#include "platform/draw_listener.h"
#include "test_screen.h"
#include "world/map_format.h"
#include "world/player.h"
#include "world/world_state.h"

using namespace testscreen;

namespace {

std::vector<std::string> texts;

class PlayfieldPicture : public ::testing::Test {
protected:
    void SetUp() override
    {
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
        const std::vector<uint8_t> bytes = EncodeStageMap(map);
        ApplyStageMap(bytes.data(), bytes.size(), hero);
        texts.clear();
        SetDrawListener([](const DrawCall& call) {
            if (call.text)
                texts.emplace_back(call.text, static_cast<size_t>(call.v[2]));
        });
    }
    void TearDown() override
    {
        SetDrawListener(nullptr);
        FreeSurface(BackImage);
        BackImage = nullptr;
        CloseScreen();
    }
    Player hero;
};

TEST_F(PlayfieldPicture, BackgroundCoversTheScreenLeftOfANarrowStage)
{
    // Columns 0..31 red, 32..63 green.
    BackImage = MakePicture(64, kStageHeight, [](int x, int) { return x < 32 ? Rgb{255, 0, 0} : Rgb{0, 255, 0}; });
    ASSERT_EQ(world.cameraX, -161) << "a ten-column stage leaves the camera left of the stage";
    DrawPlayfield(500, hero, 0);
    // (-161 >> 1) = -81, which is source column 47 of the 64-wide strip.
    const Rgb red = Stored(255, 0, 0), green = Stored(0, 255, 0);
    for (auto [x, colour] : {std::pair{0, green}, {16, green}, {17, red}, {48, red}, {49, green}, {319, green}})
        EXPECT_EQ(ScreenPixel(x, 50), colour) << "x " << x;
}

TEST_F(PlayfieldPicture, QuitAskedWhilePausedShowsNoPauseMenu)
{
    game.paused = 1;
    game.menuState = 2;
    DrawPlayfield(32, hero, 0);
    EXPECT_NE(std::find(texts.begin(), texts.end(), "-PAUSE-"), texts.end());
    texts.clear();
    game.quitPending = 1;
    DrawPlayfield(32, hero, 0);
    EXPECT_EQ(std::find(texts.begin(), texts.end(), "-PAUSE-"), texts.end());
}

} // namespace
