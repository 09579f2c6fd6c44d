// Playfield pictures checked by colour, independent of the art: HUD bars, dimming, the hidden hero.
#include <gtest/gtest.h>

#include "assets/front_end_images.h"
#include "game/playfield_render.h"
#include "game/stage_loader.h"
#include "platform/screenshot.h"
#include "stage_harness.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/player.h"
#include "world/tile_effects.h"

using namespace stagetest;

namespace {

enum class Shade { Red, DarkRed, Blue, DarkBlue, Other };

Shade Classify(uint8_t r, uint8_t g, uint8_t b)
{
    if (g > 40)
        return Shade::Other;
    if (b < 40 && r > 200)
        return Shade::Red;
    if (b < 40 && r > 100 && r < 160)
        return Shade::DarkRed;
    if (r < 40 && b > 200)
        return Shade::Blue;
    if (r < 40 && b > 100 && b < 160)
        return Shade::DarkBlue;
    return Shade::Other;
}

int CountInRow(int y, Shade shade)
{
    int n = 0;
    for (int x = 0; x < kScreenWidth; ++x) {
        uint8_t r, g, b;
        if (ReadScreenPixel(x, y, &r, &g, &b) && Classify(r, g, b) == shade)
            ++n;
    }
    return n;
}

// Average brightness of the playfield, sampled on a grid.
double PlayfieldBrightness()
{
    double sum = 0;
    int n = 0;
    for (int y = 2; y < kStageHeight; y += 7)
        for (int x = 3; x < kScreenWidth; x += 7) {
            uint8_t r, g, b;
            ReadScreenPixel(x, y, &r, &g, &b);
            sum += r + g + b;
            ++n;
        }
    return sum / n;
}

class PlayfieldPictures : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenHeadlessScreen();
        FreshGame(1);
        StageBuilder map(40);
        map.Ground(10);
        const std::vector<uint8_t> bytes = map.Bytes();
        ApplyStageMap(bytes.data(), bytes.size(), hero);
        world.hurryTimer = kHurryFrames;
        world.oxygen = kOxygenFull;
        savedBack = BackImage;
        savedHeroImage = tileImages[0x18];
    }
    void TearDown() override
    {
        FreeSurface(BackImage != savedBack ? BackImage : nullptr);
        BackImage = savedBack;
        if (tileImages[0x18] != savedHeroImage)
            FreeSurface(tileImages[0x18]);
        tileImages[0x18] = savedHeroImage;
    }
    // A plain grey background so dimming shows whatever the art.
    void GreyBackground()
    {
        BackImage = CreateSurface(64, kStageHeight, false);
        FillRect(BackImage, 0, 0, 64, kStageHeight, MapTestColour(160, 160, 160));
    }
    uint32_t MapTestColour(int r, int g, int b)
    {
        return SDL_MapRGB(screenSurface->format, static_cast<Uint8>(r), static_cast<Uint8>(g), static_cast<Uint8>(b));
    }

    Player hero;
    SDL_Surface* savedBack = nullptr;
    SDL_Surface* savedHeroImage = nullptr;
};

TEST_F(PlayfieldPictures, HurryBarShrinksWithTheTimer)
{
    for (int timer : {9000, 4500, 1000, 36, 0}) {
        world.hurryTimer = timer;
        DrawPlayfield(500, hero, 0);
        const int w = timer * 248 / 9000;
        for (int y = 198; y <= 202; ++y) {
            EXPECT_EQ(CountInRow(y, Shade::Red), w) << "timer " << timer << " row " << y;
            EXPECT_EQ(CountInRow(y, Shade::DarkRed), 248 - w) << "timer " << timer << " row " << y;
        }
        EXPECT_EQ(CountInRow(197, Shade::Red) + CountInRow(197, Shade::DarkRed), 0);
        EXPECT_EQ(CountInRow(203, Shade::Red) + CountInRow(203, Shade::DarkRed), 0);
    }
}

TEST_F(PlayfieldPictures, OxygenBarIsFullAtFullOxygenAndEmptyBelowZero)
{
    world.oxygen = 620;
    DrawPlayfield(500, hero, 0);
    EXPECT_EQ(CountInRow(210, Shade::Blue), 248);
    EXPECT_EQ(CountInRow(210, Shade::DarkBlue), 0);
    world.oxygen = 310;
    DrawPlayfield(500, hero, 0);
    EXPECT_EQ(CountInRow(208, Shade::Blue), 124);
    EXPECT_EQ(CountInRow(212, Shade::DarkBlue), 124);
    world.oxygen = -25;
    DrawPlayfield(500, hero, 0);
    EXPECT_EQ(CountInRow(210, Shade::Blue), 0);
    EXPECT_EQ(CountInRow(210, Shade::DarkBlue), 248);
}

TEST_F(PlayfieldPictures, NoBarsOnTheTitleOrInTestMode)
{
    for (int stage : {0, -1}) {
        game.stage = stage;
        DrawPlayfield(500, hero, 0);
        EXPECT_EQ(CountInRow(200, Shade::Red) + CountInRow(200, Shade::DarkRed), 0) << stage;
        EXPECT_EQ(CountInRow(210, Shade::Blue) + CountInRow(210, Shade::DarkBlue), 0) << stage;
    }
}

TEST_F(PlayfieldPictures, PlayfieldIsDimmedDuringTheIntroAndAfterAPlainDeath)
{
    GreyBackground();
    DrawPlayfield(500, hero, 0);
    const double bright = PlayfieldBrightness();
    ASSERT_GT(bright, 200);

    DrawPlayfield(100, hero, 0);
    EXPECT_LT(PlayfieldBrightness(), bright * 0.7) << "intro";

    hero.dead = 1;
    hero.deathEffect = 17;
    SetStatusMessage("KILLED BY SKULL");
    DrawPlayfield(500, hero, 0);
    EXPECT_GT(PlayfieldBrightness(), bright * 0.9) << "a death effect shows undimmed";

    hero.deathEffect = 0;
    DrawPlayfield(500, hero, 0);
    EXPECT_LT(PlayfieldBrightness(), bright * 0.7) << "plain death";

    world.lives = 0;
    DrawPlayfield(500, hero, 0);
    EXPECT_GT(PlayfieldBrightness(), bright * 0.9) << "no lives left: no dimming for the message";

    DrawPlayfield(-1, hero, 0);
    EXPECT_GT(PlayfieldBrightness(), bright * 0.9) << "picture-only frames have no overlay";
}

TEST_F(PlayfieldPictures, HeroIsHiddenDuringTheIntro)
{
    tileImages[0x18] = CreateSurface(16, 16, false);
    FillRect(tileImages[0x18], 0, 0, 16, 16, MapTestColour(0, 255, 0));
    hero.frame = 0x18;
    const int sx = hero.x - world.cameraX + 8;
    const int sy = hero.y + 8;
    auto heroShows = [&] {
        uint8_t r, g, b;
        ReadScreenPixel(sx, sy, &r, &g, &b);
        return g > 200 && r < 60 && b < 60;
    };
    DrawPlayfield(0, hero, 0);
    EXPECT_FALSE(heroShows());
    DrawPlayfield(180, hero, 0);
    EXPECT_FALSE(heroShows());
    DrawPlayfield(181, hero, 0);
    EXPECT_TRUE(heroShows());
    hero.deathEffect = 15;
    DrawPlayfield(400, hero, 0);
    EXPECT_FALSE(heroShows()) << "hidden while a death effect shows him";
    hero.deathEffect = 0;
    hero.active = 0;
    DrawPlayfield(400, hero, 0);
    EXPECT_FALSE(heroShows());
}

TEST_F(PlayfieldPictures, MovingBlockSlidesOverWhatLiesUnderIt)
{
    SDL_Surface* saved[2] = {tileImages[0x19], tileImages[0x55]};
    tileImages[0x19] = CreateSurface(16, 16, false);
    FillRect(tileImages[0x19], 0, 0, 16, 16, MapTestColour(255, 0, 0));
    tileImages[0x55] = CreateSurface(16, 16, false);
    FillRect(tileImages[0x55], 0, 0, 16, 16, MapTestColour(0, 255, 0));
    auto colourAt = [](int x, int y) {
        uint8_t r, g, b;
        ReadScreenPixel(x, y, &r, &g, &b);
        return r > 200 && g < 60 ? 'R' : (g > 200 && r < 60 ? 'G' : '-');
    };
    // A block pushed right from (5, 7) over water to (6, 7), halfway there.
    SetRestore(5, 7, 0x55);
    SetRestore(6, 7, 0x55);
    ClearTileEffects();
    tileEffects[0] = TileEffect{5, 7, 2, EffectPushRight, 1};
    DrawPlayfield(500, hero, 0);
    const int left = 5 * 16 - world.cameraX;
    EXPECT_EQ(colourAt(left + 2, 7 * 16 + 8), 'G') << "water behind the block";
    EXPECT_EQ(colourAt(left + 8, 7 * 16 + 8), 'R');
    EXPECT_EQ(colourAt(left + 23, 7 * 16 + 8), 'R');
    EXPECT_EQ(colourAt(left + 26, 7 * 16 + 8), 'G');

    // A block falling out of the bottom row draws nothing into the HUD strip.
    SetRestore(8, 11, 0x55);
    tileEffects[0] = TileEffect{8, 11, 3, EffectFall, 1};
    DrawPlayfield(500, hero, 0);
    const int x = 8 * 16 - world.cameraX + 8;
    EXPECT_EQ(colourAt(x, 11 * 16 + 4), 'G');
    EXPECT_EQ(colourAt(x, 11 * 16 + 14), 'R');
    EXPECT_EQ(colourAt(x, 194), 'R') << "the block itself still slides down";
    EXPECT_NE(colourAt(x, 206), 'G') << "no water picture below the playfield";
    ClearTileEffects();
    for (int i : {0, 1})
        FreeSurface(tileImages[i == 0 ? 0x19 : 0x55]);
    tileImages[0x19] = saved[0];
    tileImages[0x55] = saved[1];
}

// The playfield's pixels, row by row.
std::vector<uint32_t> PlayfieldPixels()
{
    std::vector<uint32_t> pixels;
    for (int y = 0; y < kStageHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            uint8_t r, g, b;
            ReadScreenPixel(x, y, &r, &g, &b);
            pixels.push_back(static_cast<uint32_t>(r) << 16 | static_cast<uint32_t>(g) << 8 | b);
        }
    return pixels;
}

TEST_F(PlayfieldPictures, QuitAskedWhilePausedShowsNoPauseLayer)
{
    GreyBackground();
    game.quitPending = 1;
    game.paused = 0;
    DrawPlayfield(32, hero, 0);
    const std::vector<uint32_t> withoutPause = PlayfieldPixels();
    game.paused = 1;
    game.menuState = 2;
    DrawPlayfield(32, hero, 0);
    EXPECT_TRUE(PlayfieldPixels() == withoutPause) << "the quit question's picture has no pause menu in it";
    game.quitPending = 0;
    DrawPlayfield(32, hero, 0);
    EXPECT_FALSE(PlayfieldPixels() == withoutPause) << "without a quit the pause menu shows";
}

TEST_F(PlayfieldPictures, BackgroundCoversTheScreenLeftOfANarrowStage)
{
    // Columns 0..31 red, 32..63 green.
    BackImage = CreateSurface(64, kStageHeight, false);
    FillRect(BackImage, 0, 0, 32, kStageHeight, MapTestColour(255, 0, 0));
    FillRect(BackImage, 32, 0, 32, kStageHeight, MapTestColour(0, 255, 0));
    const std::vector<uint8_t> bytes = StageBuilder(10).Ground(10).Bytes();
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    ASSERT_EQ(world.cameraX, -161) << "a ten-column stage leaves the camera left of the stage";
    FillRect(screenSurface, 0, 0, kScreenWidth, kScreenHeight, MapTestColour(0, 0, 255));
    DrawPlayfield(500, hero, 0);
    // (-161 >> 1) = -81, which is source column 47 of the 64-wide strip.
    auto colourAt = [](int x) {
        uint8_t r, g, b;
        ReadScreenPixel(x, 50, &r, &g, &b);
        return r > 200 && g < 60 && b < 60 ? 'R' : (g > 200 && r < 60 && b < 60 ? 'G' : '-');
    };
    EXPECT_EQ(colourAt(0), 'G');
    EXPECT_EQ(colourAt(16), 'G');
    EXPECT_EQ(colourAt(17), 'R');
    EXPECT_EQ(colourAt(48), 'R');
    EXPECT_EQ(colourAt(49), 'G');
    EXPECT_EQ(colourAt(304), 'R');
    EXPECT_EQ(colourAt(319), 'G');
}

TEST(ActorSprites, CodesFollowTypeTimerAndDirection)
{
    ClearActors();
    SpawnActor(0, 0, ActorMasky);
    Actor& a = actors[0];
    const int masky[] = {0x09, 0x0A, 0x0B, 0x0A, 0x09};
    for (int i = 0; i < 5; ++i) {
        a.timer = i * 6;
        EXPECT_EQ(ActorSpriteCode(0), masky[i]) << i;
    }
    a.dx = 0;
    a.timer = 63;
    EXPECT_EQ(ActorSpriteCode(0), 0x0C);
    a.timer = 64;
    EXPECT_EQ(ActorSpriteCode(0), -1) << "blinks off";
    a.timer = 72;
    EXPECT_EQ(ActorSpriteCode(0), 0x0C);

    a.type = ActorBeetle;
    a.dx = -1;
    a.timer = 8;
    EXPECT_EQ(ActorSpriteCode(0), 0x0E);
    a.dx = 1;
    a.timer = 0;
    EXPECT_EQ(ActorSpriteCode(0), 0x0F);

    a.type = ActorAcidFish;
    a.dx = 1;
    a.timer = 15;
    EXPECT_EQ(ActorSpriteCode(0), 0x38);

    a.type = ActorWingedEyeStomped;
    a.timer = 11;
    EXPECT_EQ(ActorSpriteCode(0), 0x25);

    a.type = ActorSkull;
    a.dx = -2;
    a.timer = 7;
    EXPECT_EQ(ActorSpriteCode(0), 0x90 - 1);
    a.dx = 2;
    EXPECT_EQ(ActorSpriteCode(0), 0x79 + 1);
    a.dx = 0;
    a.timer = 185;
    EXPECT_EQ(ActorSpriteCode(0), 0x7D);
    a.timer = 186;
    EXPECT_EQ(ActorSpriteCode(0), 0x7E);

    a.active = 0;
    EXPECT_EQ(ActorSpriteCode(0), -1);
}

} // namespace
