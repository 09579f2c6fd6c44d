// Stage loading: reading the map, the load-time rules of the markers and the hero's drop.
#include "game/stage_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "assets/archive.h"
#include "core/fatal_error.h"
#include "core/stages.h"
#include "game/game_state.h"
#include "game/session_music.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/frame_clock.h"
#include "world/actors.h"
#include "world/camera.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/map_format.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/score.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

// Rings this far (or further) left of the restart column were collected before
// the checkpoint and are not counted again.
constexpr int kRingCountMargin = kCellSize;
// Cells of the view revealed before the camera pans in: 21 columns.
constexpr int kRevealColumns = kViewColumns;
// The lowest top edge a 16-pixel hero can have inside the playfield.
constexpr int kLowestHeroY = kStageHeight - kCellSize;

std::string testMapPath = "maps/test.bin";

bool IsStartMarker(TileCode code, int stage)
{
    switch (code) {
    case 0x01:
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x07:
    case 0x08:
    case tile::HeroStandRight:
    case tile::HeroStandLeft:
        return true;
    case tile::HeroIdle:
        return stage >= kFirstStage && stage <= kLastStage; // a start marker only in playable stages
    default:
        return false;
    }
}

// Every start marker disappears; the last one in grid order places
// the restart point unless a checkpoint already did.
void TakeStartMarkers()
{
    const int cells = levelMap.columns * kRows;
    for (int i = 0; i < cells; ++i) {
        if (!IsStartMarker(levelMap.live[i], game.stage))
            continue;
        levelMap.live[i] = tile::None;
        if (!world.checkpointTaken) {
            world.restartX = (i / kRows) * kCellSize;
            world.restartY = (i % kRows) * kCellSize;
        }
    }
}

// Door, rings and lifts, stopping for good at the 64th lift.
void TakeDoorRingsAndLifts()
{
    liftCount = 0;
    world.ringsTotal = 0;
    world.doorCell = -1;
    const int cells = levelMap.columns * kRows;
    for (int i = 0; i < cells && liftCount < kMaxLifts; ++i) {
        const int column = i / kRows;
        const int row = i % kRows;
        const TileCode code = levelMap.live[i];
        if (code == tile::DoorOpenTopLeft) {
            world.doorCell = i;
        } else if (code == tile::Ring) {
            if (column * kCellSize >= world.restartX - kRingCountMargin)
                world.ringsTotal += 1;
        } else if (code == tile::Lift) {
            levelMap.live[i] = tile::None;
            AddLift(column * kCellSize, row * kCellSize);
        }
    }
}

// With rings to collect the door starts closed. A stage without a door
// marker has no door to close; cells beyond the grid's edge are left alone.
void CloseDoor()
{
    if (world.ringsTotal <= 0 || world.doorCell < 0)
        return;
    const int c = world.doorCell / kRows;
    const int r = world.doorCell % kRows;
    SetTile(c, r, tile::DoorClosedTopLeft);
    SetTile(c + 1, r, tile::DoorClosedTopRight);
    SetTile(c, r + 1, tile::DoorClosedBottomLeft);
    SetTile(c + 1, r + 1, tile::DoorClosedBottomRight);
}

// Reveal the first screen, then pan in from one screen to the left.
void PlaceCamera()
{
    const int c0 = std::max(0, world.restartX - kCellSize);
    for (int i = 0; i < kRevealColumns; ++i)
        RevealColumn(c0 + kCellSize * i);
    world.cameraX = c0 - kScreenWidth;
    ScrollView(kScreenWidth);
}

// The hero drops from the restart point onto the ground below it; in
// a column without ground he stops in the bottom row.
void PlaceHero(Player& hero)
{
    if (game.stage == 0) {
        EndAttempt(hero, "", 0); // no hero on the title: out of play from the start
        return;
    }
    int y = world.restartY;
    while (y < kLowestHeroY && !IsSolidAt(world.restartX, y + kCellSize))
        ++y;
    hero = Player{};
    hero.x = world.restartX;
    hero.y = y;
    hero.vy = 0;
    hero.walkCounter = 0;
    hero.idleTimer = 0;
    hero.frame = tile::HeroIdle;
    hero.active = 1;
    hero.moverIndex = -1;
}

} // namespace

void SetTestMapPath(const char* path)
{
    testMapPath = path ? path : "maps/test.bin";
}

const char* TestMapPath()
{
    return testMapPath.c_str();
}

void ApplyStageMap(const uint8_t* data, size_t size, Player& hero)
{
    // Both grids replaced; cells the data does not reach stay 0.
    const int columns = MapColumns(data);
    ResetLevelMap(columns);
    const size_t available = size - kMapHeaderSize;
    const size_t cells = std::min(available, levelMap.live.size());
    for (size_t i = 0; i < cells; ++i)
        levelMap.live[i] = data[kMapHeaderSize + i];

    TakeStartMarkers();
    TakeDoorRingsAndLifts();
    world.ringsLeft = world.ringsTotal;
    CloseDoor();

    // The restore grid starts as an exact copy.
    levelMap.restore = levelMap.live;

    // A checkpoint at the restart point shows as taken.
    if (TileAtPixel(world.restartX, world.restartY) == tile::Checkpoint)
        SetTile(world.restartX / kCellSize, world.restartY / kCellSize, tile::CheckpointTaken);

    PlaceCamera();
    world.checkpointTouched = 0;
    PlaceHero(hero);
}

void LoadStage(Player& hero)
{
    world.hurryTimer = kHurryFrames;
    world.oxygen = kOxygenFull;
    world.pushCounter = 0;

    if (screenSurface)
        FillRect(screenSurface, 0, 0, kScreenWidth, kScreenHeight, ColorBlack);

    ClearActors();
    ClearTileEffects();

    size_t size = 0;
    uint8_t* data = nullptr;
    char name[16];
    std::snprintf(name, sizeof name, "fribb3%02d", game.stage);
    if (game.testMode)
        data = ReadWholeFile(testMapPath.c_str(), &size);
    else
        data = ReadArchiveEntry(ArchiveMaps, name, "bin", &size);
    if (data == nullptr || size < kMapHeaderSize) {
        std::free(data);
        // Test mode passes no name: the detail reads "unknown".
        FatalError("Can't load file", game.testMode ? nullptr : name);
    }
    ApplyStageMap(data, size, hero);
    std::free(data);

    if (game.reloadMusic) {
        StartStageMusic(game.stage);
        game.reloadMusic = 0;
    }

    game.paused = 0;
    game.leaveTitle = 0;
    ResetFrameClock();
    world.splashPlayed = 0;
    play.attemptFrame = 0;
}
