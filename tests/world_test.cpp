// The world's edges that no replay reaches: grid bounds, full slots, the score caps, and a soak on random stages.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "world/actors.h"
#include "world/camera.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_effects.h"
#include "world/world_state.h"
#include "world/world_tick.h"

namespace {

constexpr TileCode kGround = 0x15;

// An empty stage of 40 columns with ground along the bottom row, a fresh world and no hero in play.
class World : public ::testing::Test {
protected:
    Player hero;
    PlayerControls controls;

    void SetUp() override { MakeStage(40); }

    void MakeStage(int columns)
    {
        ResetLevelMap(columns);
        ResetWorld();
        for (int c = 0; c < columns; ++c)
            SetTile(c, kRows - 1, kGround);
        hero = Player{};
    }
    void PlaceHero(int x, int y)
    {
        hero = Player{};
        hero.x = x;
        hero.y = y;
        hero.active = 1;
    }
    // Occupies every effect slot with a lasting effect far away from the stage.
    static void FillEffectSlots()
    {
        for (int i = 0; i < kEffectSlots; ++i)
            StartTileEffect(-1000 - 100 * i, -1000, EffectDrowned);
    }
};

TEST_F(World, GridReadsAndWritesStayInsideTheGrid)
{
    SetTile(3, 4, tile::Brick);
    EXPECT_EQ(levelMap.live[3 * kRows + 4], tile::Brick) << "column-major";
    for (auto [c, r] : {std::pair{-1, 0}, {40, 0}, {0, -1}, {0, kRows}}) {
        SetTile(c, r, tile::Brick);
        SetRestore(c, r, tile::Brick);
        SetLiveOnly(c, r, tile::Brick);
        EXPECT_EQ(TileAt(c, r), tile::None);
        EXPECT_EQ(RestoreAt(c, r), tile::None);
    }
    SetLiveOnly(0, 0, tile::Brick); // the first cell is inside
    EXPECT_EQ(TileAt(0, 0), tile::Brick);
    EXPECT_EQ(RestoreAt(0, 0), tile::None);
    SetTile(0, 0, tile::Ring);
    EXPECT_EQ(TileAt(0, 0), tile::Ring);
    EXPECT_EQ(RestoreAt(0, 0), tile::Ring);
    EXPECT_EQ(TileAtPixel(-1, 0), tile::None);
    EXPECT_EQ(TileAtPixel(40 * kCellSize, 0), tile::None);
    // Walls left and right of the stage, nothing below it, the top row reaching up.
    EXPECT_EQ(IsSolidAt(-1, 100), 1);
    EXPECT_EQ(IsSolidAt(40 * kCellSize, 100), 1);
    EXPECT_EQ(IsSolidAt(0, kStageHeight), 0);
    SetTile(5, 0, kGround);
    EXPECT_EQ(IsSolidAt(5 * kCellSize, -500), 1);
    ResetLevelMap(0);
    EXPECT_EQ(levelMap.columns, 1);
}

TEST_F(World, BlocksAndBusyCellsNeverReachTheRestoreGrid)
{
    SetTile(2, 2, tile::Ring);
    SetTile(2, 2, tile::PushBlock);
    SetTile(2, 3, BusyCell);
    SetRestore(0, 0, tile::Ring); // the first cell of the grid is a cell like any other
    EXPECT_EQ(RestoreAt(0, 0), tile::Ring);
    EXPECT_EQ(RestoreAt(2, 2), tile::Ring);
    EXPECT_EQ(RestoreAt(2, 3), tile::None);
    EXPECT_EQ(KindOf(BusyCell), Solid);
    EXPECT_EQ(KindOf(0xFF), Solid);
    EXPECT_EQ(IsPushableAt(2 * kCellSize, 3 * kCellSize), 0);
    EXPECT_EQ(HazardAt(2 * kCellSize, 3 * kCellSize), tile::None);
}

TEST_F(World, EffectSlotsRestartInPlaceAndRunOut)
{
    EXPECT_EQ(StartTileEffect(32, 32, EffectBrick), 1);
    EXPECT_EQ(StartTileEffect(40, 40, EffectBump), 0) << "same cell: restarted as the new kind";
    EXPECT_EQ(TileEffectRunning(32, 32, EffectBump), 1);
    EXPECT_EQ(TileEffectRunning(32, 32, EffectBrick), 0);
    EXPECT_EQ(StartTileEffect(64, 64, 3), 1);
    UpdateTileEffects(hero);
    EXPECT_EQ(TileEffectRunning(64, 64, 3), 0) << "a kind without a rule frees its slot";
    ClearTileEffects();
    FillEffectSlots();
    EXPECT_EQ(StartTileEffect(32, 32, EffectBrick), 0);
    EXPECT_EQ(TileEffectRunning(32, 32, EffectBrick), 0);
}

TEST_F(World, WithEveryEffectSlotBusyDeathsAndPickUpsStillWork)
{
    FillEffectSlots();
    PlaceHero(64, 100);
    KillPlayer(hero, "STABBED", EffectStabbed);
    EXPECT_EQ(hero.deathEffect, 0) << "the plain death, or nothing would move the hidden hero";
    EXPECT_EQ(hero.vy, -16);
    // A ring is counted once and leaves its cell even without an effect to take it away.
    PlaceHero(64, kStageHeight - 2 * kCellSize);
    SetTile(4, kRows - 2, tile::Ring);
    world.ringsLeft = world.ringsTotal = 2;
    for (int i = 0; i < 5; ++i)
        StepWorld(hero, controls);
    EXPECT_EQ(world.ringsLeft, 1);
    EXPECT_EQ(world.score, 1);
    EXPECT_EQ(TileAt(4, kRows - 2), tile::None);
}

TEST_F(World, FullActorSlotsLoseTheRevealedActorButConvertItsCode)
{
    for (int i = 0; i < kActorSlots; ++i)
        ASSERT_EQ(SpawnActor(-2000, 0, ActorMasky), 1);
    EXPECT_EQ(SpawnActor(0, 0, ActorBeetle), 0);
    SetTile(5, 3, tile::AcidFishSpawn);
    RevealColumn(5 * kCellSize);
    EXPECT_EQ(TileAt(5, 3), tile::Water);
    RevealColumn(40 * kCellSize); // beyond the stage: nothing
}

TEST_F(World, ScoreAndLivesStopAtTheirCaps)
{
    struct Case {
        int score, lives, points, grant;
        int crossed, scoreAfter, livesAfter;
    };
    const Case cases[] = {
        {90, 6, 20, 1, 1, 110, 7},   {195, 6, 3, 1, 0, 198, 6},     {50, 6, 300, 1, 1, 350, 7},
        {99, 6, 1, 0, 1, 100, 6},    {9950, 6, 100, 1, 0, 9999, 6}, {9999, 6, 1, 1, 0, 9999, 6},
        {199, 99, 1, 1, 1, 200, 99},
    };
    for (const Case& c : cases) {
        world.score = c.score;
        world.lives = c.lives;
        EXPECT_EQ(AddScore(c.points, c.grant), c.crossed) << c.score << "+" << c.points;
        EXPECT_EQ(world.score, c.scoreAfter) << c.score << "+" << c.points;
        EXPECT_EQ(world.lives, c.livesAfter) << c.score << "+" << c.points;
    }
}

TEST_F(World, AFirstDeathStaysAndLongMessagesAreCut)
{
    PlaceHero(64, 100);
    KillPlayer(hero, "FIRST", EffectImpaled);
    KillPlayer(hero, "SECOND", 0);
    EXPECT_STREQ(world.statusMessage, "FIRST");
    EXPECT_EQ(hero.deathEffect, EffectImpaled);
    EndAttempt(hero, "", EffectSmashed);
    EXPECT_EQ(hero.active, 0);
    EXPECT_EQ(TileEffectRunning(64, 100, EffectSmashed), 0) << "no second effect over a running death";
    const std::string longText(3000, 'X');
    SetStatusMessage(longText.c_str());
    EXPECT_EQ(std::strlen(world.statusMessage), static_cast<size_t>(kStatusMessageSize - 1));
}

// Random stages and random controls: whatever the map holds, the world keeps its invariants.
TEST_F(World, RandomStagesKeepEveryInvariant)
{
    constexpr TileCode kInteresting[] = {0,    0,    0,    0,    0x15, 0x19, 0x19, 0x29, 0x8C, 0x57,
                                         0x56, 0x58, 0x16, 0x14, 0x28, 0x11, 0x1A, 0x89, 0x09, 0x0D,
                                         0x21, 0x35, 0x43, 0x79, 0x30, 0x3B, 0x55, 0xF0, 0xFF, 0xEF};
    std::mt19937 rng(20261206);
    for (int round = 0; round < 150; ++round) {
        const int columns = 1 + static_cast<int>(rng() % 40);
        MakeStage(columns);
        for (int c = 0; c < columns; ++c)
            for (int r = 0; r < kRows; ++r)
                SetTile(c, r, rng() % 4 == 0 ? rng() % 256 : kInteresting[rng() % std::size(kInteresting)]);
        for (int i = static_cast<int>(rng() % 5); i > 0; --i)
            AddLift(static_cast<int>(rng() % columns) * 16, static_cast<int>(rng() % kRows) * 16);
        world.doorCell = static_cast<int>(rng() % (columns * kRows + 2)) - 1;
        world.ringsLeft = static_cast<int>(rng() % 3);
        world.score = static_cast<int>(rng() % 10000);
        world.lives = static_cast<int>(rng() % 100);
        world.cameraX = -kScreenWidth;
        ScrollView(kScreenWidth);
        PlaceHero(static_cast<int>(rng() % columns) * 16, static_cast<int>(rng() % 220) - 20);
        int camera = world.cameraX;
        for (int f = 0; f < 400; ++f) {
            controls = PlayerControls{};
            const int dir = static_cast<int>(rng() % 3);
            controls.left = dir == 1;
            controls.right = dir == 2;
            controls.jump = rng() % 4 == 0;
            controls.down = rng() % 8 == 0;
            StepWorld(hero, controls);
            ASSERT_EQ(levelMap.live.size(), static_cast<size_t>(columns * kRows));
            for (TileCode code : levelMap.restore)
                ASSERT_NE(code, BusyCell);
            ASSERT_TRUE(world.score >= 0 && world.score <= kMaxScore);
            ASSERT_LE(world.lives, kMaxLives);
            ASSERT_TRUE(world.pushCounter >= 0 && world.pushCounter < kPushFrames);
            ASSERT_GE(world.cameraX, camera) << "the camera only moves forward";
            camera = world.cameraX;
            for (int i = 0; i < liftCount; ++i)
                ASSERT_TRUE(lifts[i].y >= 0 && lifts[i].y <= kStageHeight - kCellSize);
            for (const TileEffect& e : tileEffects)
                ASSERT_TRUE(!e.active ||
                            (e.kind >= EffectBrick && e.kind <= EffectDrowned && e.kind != 3 && e.kind != 9))
                    << e.kind;
            for (const Actor& a : actors)
                ASSERT_TRUE(!a.active || (a.type >= ActorMasky && a.type <= ActorSkull)) << a.type;
        }
    }
}

} // namespace
