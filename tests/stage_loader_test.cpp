// Attempt start on odd maps: start markers, checkpoint restarts, rings and door, the lift limit, short and huge maps,
// failures.
#include <gtest/gtest.h>

#include <unistd.h>

#include <fstream>
#include <vector>

#include "assets/archive.h"
#include "game/game_state.h"
#include "game/stage_loader.h"
#include "test_support.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/map_format.h"
#include "world/player.h"
#include "world/world_state.h"

namespace {

// A map of `columns` columns with ground in rows 10 and 11, and codes set on it.
struct MapBuilder {
    StageMap map;
    explicit MapBuilder(int columns, bool ground = true)
    {
        map.columns = columns;
        map.cells.assign(static_cast<size_t>(columns) * kRows, 0);
        for (int c = 0; ground && c < columns; ++c)
            Set(c, 10, 0x15).Set(c, 11, 0x15);
    }
    MapBuilder& Set(int c, int r, uint8_t code)
    {
        map.cells.at(static_cast<size_t>(c) * kRows + r) = code;
        return *this;
    }
    MapBuilder& Door(int c, int r)
    {
        return Set(c, r, 0x1B).Set(c + 1, r, 0x1C).Set(c, r + 1, 0x2F).Set(c + 1, r + 1, 0x30);
    }
};

// Loads map into stage `stage`; keepRestart leaves the restart point of a taken checkpoint alone.
Player Load(const MapBuilder& b, int stage, bool keepRestart = false)
{
    if (!keepRestart) {
        world = WorldState{};
        ResetRestartPoint();
    }
    game = GameState{};
    game.stage = stage;
    ClearActors();
    Player hero;
    const std::vector<uint8_t> bytes = EncodeStageMap(b.map);
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    return hero;
}

TEST(StageLoader, TheLastStartMarkerWinsAndTheIdleFrameMarksOnlyPlayableStages)
{
    Player hero = Load(MapBuilder(40), 1);
    EXPECT_EQ(hero.x, kDefaultRestartX);
    EXPECT_EQ(hero.y, 144) << "dropped from the default point onto the ground";
    hero = Load(MapBuilder(40).Set(5, 3, 0x41).Set(9, 2, 0x03).Set(9, 6, 0x44), 1);
    EXPECT_EQ(hero.x, 144) << "same column: the lower marker comes later";
    EXPECT_EQ(TileAt(5, 3) | TileAt(9, 2) | TileAt(9, 6), 0u);
    for (auto [stage, restartX] : {std::pair{1, 112}, {10, 112}, {-1, 16}, {0, 16}}) {
        hero = Load(MapBuilder(40).Set(7, 4, 0x18), stage);
        EXPECT_EQ(world.restartX, restartX) << "stage " << stage;
    }
    EXPECT_EQ(hero.active, 0) << "the title stage has no hero";
    hero = Load(MapBuilder(40, false).Set(5, 2, 0x41), 1);
    EXPECT_EQ(hero.y, 176) << "no ground below: the drop stops in the bottom row";
}

TEST(StageLoader, ACheckpointRestartCountsOnlyTheRingsAheadOfIt)
{
    MapBuilder b(60);
    b.Set(2, 9, 0x41).Set(30, 9, 0x11).Set(10, 5, 0x29).Set(28, 5, 0x29).Set(29, 5, 0x29).Set(40, 5, 0x29).Door(50, 8);
    Load(b, 1);
    EXPECT_EQ(world.ringsTotal, 4);
    EXPECT_EQ(TileAt(50, 8), tile::DoorClosedTopLeft);
    world.restartX = 30 * kCellSize;
    world.restartY = 9 * kCellSize;
    world.checkpointTaken = 1;
    const Player hero = Load(b, 1, true);
    EXPECT_EQ(hero.x, 480);
    EXPECT_EQ(world.ringsTotal, 2) << "column 29 counts; 28 and 10 do not";
    EXPECT_EQ(TileAt(30, 9), tile::CheckpointTaken);
    EXPECT_EQ(RestoreAt(30, 9), tile::CheckpointTaken);
    b.Set(29, 5, 0).Set(40, 5, 0);
    Load(b, 1, true);
    EXPECT_EQ(TileAt(50, 8), tile::DoorOpenTopLeft) << "no ring ahead: the door stands open";
}

TEST(StageLoader, LiftsStopTheScanForGoodAtTheSixtyFourth)
{
    MapBuilder b(100);
    for (int i = 0; i < 70; ++i)
        b.Set(i, 3, 0x42);
    b.Set(5, 6, 0x29).Set(80, 6, 0x29).Door(90, 8);
    Load(b, 1);
    EXPECT_EQ(liftCount, kMaxLifts);
    EXPECT_EQ(lifts[5].x, 80);
    EXPECT_EQ(lifts[5].y, 48);
    EXPECT_EQ(lifts[5].dir, 1);
    EXPECT_EQ(TileAt(63, 3), 0u);
    EXPECT_EQ(TileAt(64, 3), 0x42u) << "later markers stay in the grid";
    EXPECT_EQ(world.ringsTotal, 1);
    EXPECT_EQ(world.doorCell, -1);
}

TEST(StageLoader, DoorsAtTheGridEdgeAndShortMapsStayInsideTheGrid)
{
    Load(MapBuilder(30, false).Set(4, 4, 0x29).Set(29, 11, 0x1B), 1);
    EXPECT_EQ(TileAt(29, 11), tile::DoorClosedTopLeft);
    EXPECT_EQ(levelMap.live.size(), 30u * kRows);
    Load(MapBuilder(30, false).Set(4, 4, 0x29).Set(5, 11, 0x1B).Set(6, 0, 0x15), 1);
    EXPECT_EQ(TileAt(6, 11), tile::DoorClosedTopRight);
    EXPECT_EQ(TileAt(6, 0), 0x15u) << "the lower half does not wrap into the next column";
    Load(MapBuilder(1, false).Set(0, 5, 0x29), 1);
    EXPECT_EQ(world.doorCell, -1);
    EXPECT_EQ(TileAt(0, 5), tile::Ring);

    std::vector<uint8_t> bytes = EncodeStageMap(MapBuilder(3).map);
    bytes[0] = 9; // claims ten columns, holds three
    Player hero;
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    EXPECT_EQ(levelMap.columns, 10);
    EXPECT_EQ(TileAt(2, 10), 0x15u);
    EXPECT_EQ(TileAt(3, 10), 0u);
    EXPECT_EQ(world.cameraX, 10 * kCellSize - kScreenWidth - 1) << "a short stage's view stops at its end";
}

TEST(StageLoader, TheLargestMapLoadsWithItsViewAtTheEnd)
{
    MapBuilder b(kMapMaxColumns, false);
    b.Set(kMapMaxColumns - 1, 11, 0x15).Set(kMapMaxColumns - 1, 4, 0x41).Set(kMapMaxColumns - 1, 9, 0x09);
    const Player hero = Load(b, 1);
    EXPECT_EQ(hero.x, (kMapMaxColumns - 1) * kCellSize);
    EXPECT_EQ(hero.y, 160);
    EXPECT_EQ(world.cameraX, kMapMaxColumns * kCellSize - kScreenWidth - 1);
    EXPECT_EQ(actors[0].active, 1) << "actors of the first screen are awake";
}

// FatalError prints on standard output; the death tests look at standard error.
void LoadWithStdoutOnStderr(int stage, const char* mapFile)
{
    dup2(2, 1);
    game = GameState{};
    game.stage = stage;
    game.testMode = mapFile != nullptr;
    if (mapFile)
        SetTestMapPath(mapFile);
    Player hero;
    LoadStage(hero);
}

TEST(StageLoaderDeathTest, AMissingOrEmptyMapEndsTheGame)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    testsupport::ScratchDir dir;
    testsupport::WriteArchiveFile((dir / "maps.zda").string(), {{"fribb301.bin", EncodeStageMap(MapBuilder(30).map)}});
    OpenArchiveFile(ArchiveMaps, (dir / "maps.zda").c_str());
    EXPECT_EXIT(LoadWithStdoutOnStderr(4, nullptr), ::testing::ExitedWithCode(1), "Can't load file: fribb304");
    const std::string empty = dir.Write("empty.bin", "").string();
    EXPECT_EXIT(LoadWithStdoutOnStderr(-1, empty.c_str()), ::testing::ExitedWithCode(1), "Can't load file: unknown");
    EXPECT_EXIT(LoadWithStdoutOnStderr(-1, "no/such/map.bin"), ::testing::ExitedWithCode(1),
                "Can't load file: unknown");
}

} // namespace
