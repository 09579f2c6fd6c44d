// Attempt start: start markers, checkpoint restarts, rings and door, lifts, odd maps, camera and the hero's drop.
#include <gtest/gtest.h>

#include <unistd.h>

#include "game/stage_loader.h"
#include "stage_harness.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/player.h"

using stagetest::FreshGame;
using stagetest::StageBuilder;

namespace {

Player Load(const StageBuilder& map, int stage)
{
    FreshGame(stage);
    Player hero;
    const std::vector<uint8_t> bytes = map.Bytes();
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    return hero;
}

// Reloads with the restart point and checkpoint state of the running game kept.
Player Reload(const StageBuilder& map)
{
    Player hero;
    const std::vector<uint8_t> bytes = map.Bytes();
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    return hero;
}

TEST(StageStartMarkers, WithoutMarkerTheHeroDropsFromTheDefaultPoint)
{
    const Player hero = Load(StageBuilder(40).Ground(10), 1);
    EXPECT_EQ(hero.x, 16);
    EXPECT_EQ(hero.y, 144) << "dropped from y 100 onto the ground top at 160";
    EXPECT_EQ(hero.active, 1);
    EXPECT_EQ(hero.frame, 0x18);
    EXPECT_EQ(hero.vy, 0);
}

TEST(StageStartMarkers, TheLastMarkerInGridOrderWinsAndAllDisappear)
{
    StageBuilder map(40);
    map.Ground(10).Set(5, 3, 0x41).Set(9, 2, 0x03).Set(9, 6, 0x44);
    const Player hero = Load(map, 1);
    EXPECT_EQ(world.restartX, 9 * 16);
    EXPECT_EQ(world.restartY, 6 * 16) << "same column: the lower one comes later";
    EXPECT_EQ(hero.x, 144);
    EXPECT_EQ(hero.y, 144);
    EXPECT_EQ(TileAt(5, 3), 0u);
    EXPECT_EQ(TileAt(9, 2), 0u);
    EXPECT_EQ(TileAt(9, 6), 0u);
}

TEST(StageStartMarkers, IdleFrameMarksTheStartOnlyInPlayableStages)
{
    StageBuilder map(40);
    map.Ground(10).Set(7, 4, 0x18);
    Load(map, 1);
    EXPECT_EQ(world.restartX, 112);
    EXPECT_EQ(TileAt(7, 4), 0u);

    Load(map, 10);
    EXPECT_EQ(world.restartX, 112);

    Load(map, -1);
    EXPECT_EQ(world.restartX, 16) << "test mode keeps it as scenery";
    EXPECT_EQ(TileAt(7, 4), 0x18u);

    const Player title = Load(map, 0);
    EXPECT_EQ(TileAt(7, 4), 0x18u);
    EXPECT_EQ(title.active, 0) << "the title stage has no hero";
    EXPECT_EQ(title.idleTimer, 180);
}

TEST(StageCheckpointRestart, MarkersGoButTheHeroRestartsAtTheCheckpoint)
{
    StageBuilder map(60);
    map.Ground(10).Set(2, 9, 0x41).Set(30, 9, 0x11);
    Load(map, 1);
    world.restartX = 30 * 16;
    world.restartY = 9 * 16;
    world.checkpointTaken = 1;
    const Player hero = Reload(map);
    EXPECT_EQ(hero.x, 480);
    EXPECT_EQ(hero.y, 144);
    EXPECT_EQ(TileAt(2, 9), 0u) << "the start marker is still removed";
    EXPECT_EQ(TileAt(30, 9), 0x13u) << "the checkpoint shows as taken";
    EXPECT_EQ(RestoreAt(30, 9), 0x13u);
}

TEST(StageCheckpointRestart, RingsTwoOrMoreColumnsLeftAreNotCounted)
{
    StageBuilder map(60);
    map.Ground(10).Set(10, 5, 0x29).Set(28, 5, 0x29).Set(29, 5, 0x29).Set(40, 5, 0x29);
    map.Set(50, 8, 0x1B).Set(51, 8, 0x1C).Set(50, 9, 0x2F).Set(51, 9, 0x30);
    Load(map, 1);
    EXPECT_EQ(world.ringsTotal, 4);
    world.restartX = 30 * 16;
    world.restartY = 9 * 16;
    world.checkpointTaken = 1;
    Reload(map);
    EXPECT_EQ(world.ringsTotal, 2) << "column 29 is one column left and counts; 28 and 10 do not";
    EXPECT_EQ(world.ringsLeft, 2);
    EXPECT_EQ(TileAt(50, 8), 0x26u) << "door closed while rings are left";
    EXPECT_EQ(TileAt(51, 8), 0x27u);
    EXPECT_EQ(TileAt(50, 9), 0x3Au);
    EXPECT_EQ(TileAt(51, 9), 0x3Bu);
}

TEST(StageCheckpointRestart, DoorStartsOpenWhenEveryRingLiesLeft)
{
    StageBuilder map(60);
    map.Ground(10).Set(10, 5, 0x29).Set(20, 5, 0x29);
    map.Set(50, 8, 0x1B).Set(51, 8, 0x1C).Set(50, 9, 0x2F).Set(51, 9, 0x30);
    FreshGame(1);
    world.restartX = 30 * 16;
    world.restartY = 144;
    world.checkpointTaken = 1;
    Reload(map);
    EXPECT_EQ(world.ringsTotal, 0);
    EXPECT_EQ(TileAt(50, 8), 0x1Bu);
    EXPECT_EQ(TileAt(51, 9), 0x30u);
}

TEST(StageLifts, LiftMarkersBecomeLiftsMovingDown)
{
    StageBuilder map(40);
    map.Ground(10).Set(3, 5, 0x42).Set(8, 2, 0x42);
    Load(map, 1);
    ASSERT_EQ(liftCount, 2);
    EXPECT_EQ(lifts[0].x, 48);
    EXPECT_EQ(lifts[0].y, 80);
    EXPECT_EQ(lifts[0].dir, 1);
    EXPECT_EQ(lifts[1].x, 128);
    EXPECT_EQ(lifts[1].y, 32);
    EXPECT_EQ(TileAt(3, 5), 0u);
}

TEST(StageLifts, ScanningStopsForGoodAtTheSixtyFourthLift)
{
    StageBuilder map(100);
    map.Ground(11);
    for (int i = 0; i < 70; ++i)
        map.Set(i, 3, 0x42);
    map.Set(5, 6, 0x29);  // before the 64th lift: counted
    map.Set(80, 6, 0x29); // after it: never looked at
    map.Set(90, 8, 0x1B).Set(91, 8, 0x1C).Set(90, 9, 0x2F).Set(91, 9, 0x30);
    Load(map, 1);
    EXPECT_EQ(liftCount, 64);
    EXPECT_EQ(TileAt(63, 3), 0u);
    EXPECT_EQ(TileAt(64, 3), 0x42u) << "later markers stay in the grid";
    EXPECT_EQ(TileAt(69, 3), 0x42u);
    EXPECT_EQ(world.ringsTotal, 1);
    EXPECT_EQ(world.doorCell, -1) << "a door after the 64th lift is not found";
    EXPECT_EQ(TileAt(90, 8), 0x1Bu);
}

TEST(StageOddMaps, MissingCellsOfAShortMapAreEmpty)
{
    StageBuilder map(3);
    map.Ground(10);
    std::vector<uint8_t> bytes = map.Bytes();
    bytes[0] = 9; // claims ten columns, holds three
    FreshGame(1);
    Player hero;
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    EXPECT_EQ(levelMap.columns, 10);
    EXPECT_EQ(TileAt(2, 10), 0x15u);
    for (int c = 3; c < 10; ++c)
        for (int r = 0; r < 12; ++r)
            ASSERT_EQ(TileAt(c, r), 0u) << c << "," << r;
    // A header without any cells: everything empty.
    const uint8_t headerOnly[2] = {4, 0};
    ApplyStageMap(headerOnly, sizeof headerOnly, hero);
    EXPECT_EQ(levelMap.columns, 5);
    EXPECT_EQ(hero.y, 176) << "no ground anywhere: the drop stops in the bottom row";
}

TEST(StageOddMaps, RingsWithoutDoorWriteNothingOutsideTheGrid)
{
    StageBuilder one(1);
    one.Set(0, 5, 0x29);
    Load(one, 1);
    EXPECT_EQ(world.ringsTotal, 1);
    EXPECT_EQ(world.doorCell, -1);
    EXPECT_EQ(levelMap.live.size(), 12u);
    EXPECT_EQ(TileAt(0, 5), 0x29u);
    EXPECT_EQ(TileAt(0, 11), 0u);
}

TEST(StageOddMaps, DoorAtTheGridEdgeClosesOnlyCellsInsideTheGrid)
{
    StageBuilder map(30);
    map.Set(4, 4, 0x29).Set(29, 11, 0x1B);
    Load(map, 1);
    EXPECT_EQ(world.doorCell, 29 * 12 + 11);
    EXPECT_EQ(TileAt(29, 11), 0x26u);
    EXPECT_EQ(levelMap.live.size(), 30u * 12);

    // In the bottom row, the door's lower half would wrap into the top of the next column.
    StageBuilder bottom(30);
    bottom.Set(4, 4, 0x29).Set(5, 11, 0x1B).Set(6, 0, 0x15).Set(7, 0, 0x15);
    Load(bottom, 1);
    EXPECT_EQ(TileAt(5, 11), 0x26u);
    EXPECT_EQ(TileAt(6, 11), 0x27u);
    EXPECT_EQ(TileAt(6, 0), 0x15u);
    EXPECT_EQ(TileAt(7, 0), 0x15u);
}

TEST(StageOddMaps, RestartColumnWithoutGroundStopsTheDropAtTheBottomRow)
{
    StageBuilder map(40);
    map.Ground(10);
    for (int r = 0; r < 12; ++r)
        map.Set(5, r, 0);
    map.Set(5, 2, 0x41);
    const Player hero = Load(map, 1);
    EXPECT_EQ(hero.x, 80);
    EXPECT_EQ(hero.y, 176);
}

TEST(StageOddMaps, SixtyFiveThousandFiveHundredThirtySixColumnsLoad)
{
    std::vector<uint8_t> bytes(2 + 65536u * 12, 0);
    bytes[0] = 0xFF;
    bytes[1] = 0xFF;
    bytes[2 + 65535u * 12 + 11] = 0x15;
    bytes[2 + 65535u * 12 + 4] = 0x41; // start in the last column
    FreshGame(1);
    Player hero;
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    EXPECT_EQ(levelMap.columns, 65536);
    EXPECT_EQ(hero.x, 65535 * 16);
    EXPECT_EQ(hero.y, 160);
    EXPECT_EQ(world.cameraX, 65536 * 16 - 321) << "the view ends at the end of the stage";
}

TEST(StageCamera, ViewEndsAtOneCellLeftOfTheRestartPoint)
{
    StageBuilder map(100);
    map.Ground(10).Set(50, 9, 0x41);
    Load(map, 1);
    EXPECT_EQ(world.cameraX, 50 * 16 - 16);
}

TEST(StageCamera, ShortStageViewStopsAtItsEnd)
{
    Load(StageBuilder(10).Ground(10), 1);
    EXPECT_EQ(world.cameraX, 10 * 16 - 321);
}

TEST(StageCamera, ActorsOfTheFirstScreenAreAwakeAtTheStart)
{
    StageBuilder map(60);
    map.Ground(10).Set(12, 9, 0x09).Set(45, 9, 0x0D).Set(20, 5, 0x57);
    Load(map, 1);
    int active = 0;
    for (const Actor& a : actors)
        active += a.active;
    EXPECT_EQ(active, 1) << "only the MASKY in view; the BEETLE further right waits";
    EXPECT_EQ(TileAt(12, 9), 0u);
    EXPECT_EQ(TileAt(45, 9), 0x0Du);
    EXPECT_EQ(TileAt(20, 5), 0x56u) << "spikes in view are hidden";
}

// FatalError prints on standard output; the death tests look at standard error.
void LoadWithStdoutOnStderr(const char* mapFile, int stage)
{
    dup2(2, 1);
    FreshGame(stage);
    if (mapFile)
        SetTestMapPath(mapFile);
    Player hero;
    LoadStage(hero);
}

TEST(StageLoadFailureDeathTest, MissingArchiveEntryNamesTheMap)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    stagetest::UseMapsArchiveWith(1, StageBuilder(30).Ground().Bytes());
    EXPECT_EXIT(LoadWithStdoutOnStderr(nullptr, 4), ::testing::ExitedWithCode(1), "Can't load file: fribb304");
}

TEST(StageLoadFailureDeathTest, EmptyTestMapSaysUnknown)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string empty = stagetest::TestFilePath(".bin");
    std::ofstream(empty, std::ios::binary).close();
    EXPECT_EXIT(LoadWithStdoutOnStderr(empty.c_str(), -1), ::testing::ExitedWithCode(1), "Can't load file: unknown");
    EXPECT_EXIT(LoadWithStdoutOnStderr("no/such/map.bin", -1), ::testing::ExitedWithCode(1),
                "Can't load file: unknown");
}

TEST(StageAttemptStart, ResetsTimersSlotsAndReadsTheArchive)
{
    StageBuilder map(40);
    map.Ground(10).Set(4, 9, 0x41);
    stagetest::UseMapsArchiveWith(3, map.Bytes());
    FreshGame(3);
    world.hurryTimer = 5;
    world.oxygen = 7;
    world.pushCounter = 2;
    SpawnActor(0, 0, ActorBeetle);
    game.attemptFrame = 99;
    world.splashPlayed = 1;
    game.paused = 1;
    Player hero;
    LoadStage(hero);
    EXPECT_EQ(world.hurryTimer, 9000);
    EXPECT_EQ(world.oxygen, 620);
    EXPECT_EQ(world.pushCounter, 0);
    EXPECT_EQ(actors[0].active, 0);
    EXPECT_EQ(game.attemptFrame, 0);
    EXPECT_EQ(world.splashPlayed, 0);
    EXPECT_EQ(game.paused, 0);
    EXPECT_EQ(hero.x, 64);
    EXPECT_EQ(hero.y, 144);
    EXPECT_EQ(levelMap.columns, 40);
}

} // namespace
