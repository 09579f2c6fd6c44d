// Cost of one world frame (StepWorld) on a busy generated stage.
#include <benchmark/benchmark.h>

#include "world/actors.h"
#include "world/camera.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"
#include "world/world_tick.h"

namespace {

constexpr int kBenchColumns = 800;
constexpr int kFramesPerRun = 600; // the hero crosses about 1200 pixels, then the stage is rebuilt
constexpr TileCode kFloor = 0x15;
constexpr int kPlatformRow = 5;
constexpr int kBrickRow = 1;
constexpr int kLiftRow = 8;
constexpr int kLiftSpacing = 12; // 64 lifts over the first 768 columns
constexpr int kJumpPeriod = 45;  // a fresh jump press every 45 frames: he is mostly in the air
constexpr int kBumpRow = 7;      // bump blocks kept busy so most effect slots are in use

// A long stage full of enemies, lifts, rings and bricks; the hero runs and jumps along a
// platform above the enemies so he stays alive while everything else keeps moving.
void BuildBusyStage(Player& hero)
{
    ResetLevelMap(kBenchColumns);
    ResetWorld();
    world.doorCell = (kBenchColumns - 4) * kRows + 9;
    const TileCode enemies[] = {tile::MaskySpawn, tile::BeetleSpawn, tile::SkullSpawnA, tile::SkullSpawnB};
    for (int c = 0; c < kBenchColumns; ++c) {
        SetTile(c, kRows - 1, kFloor);
        SetTile(c, kPlatformRow, kFloor);
        if (c % 3 == 0)
            SetTile(c, kPlatformRow - 1, tile::Ring);
        if (c % 2 == 0)
            SetTile(c, kBrickRow, tile::Brick);
        if (c % 2 == 1)
            SetTile(c, kRows - 2, enemies[(c / 2) % 4]);
        if (c % 4 == 2)
            SetTile(c, kRows - 4, c % 8 == 2 ? tile::WingedEyeSpawn : tile::AcidFishSpawn);
        if (c % 5 == 0)
            SetTile(c, kBumpRow, tile::BumpBlock);
        if (c % kLiftSpacing == 6)
            AddLift(c * kCellSize, kLiftRow * kCellSize);
    }
    world.ringsLeft = world.ringsTotal = kBenchColumns / 3;
    for (int i = 0; i < kViewColumns; ++i)
        RevealColumn(i * kCellSize);
    hero = Player{};
    hero.x = kCellSize;
    hero.y = (kPlatformRow - 1) * kCellSize;
    hero.active = 1;
}

void BM_WorldUpdate(benchmark::State& state)
{
    Player hero;
    BuildBusyStage(hero);
    int frame = 0;
    long actorsSeen = 0, effectsSeen = 0;
    for (auto _ : state) {
        if (frame == kFramesPerRun) {
            state.PauseTiming();
            BuildBusyStage(hero);
            frame = 0;
            state.ResumeTiming();
        }
        PlayerControls controls;
        controls.right = 1;
        controls.jump = (frame % kJumpPeriod) != 0;
        // Keep most effect slots running, as a stage full of breaking and moving tiles does.
        const int bumpColumn = (frame * 5) % kBenchColumns;
        StartTileEffect(bumpColumn * kCellSize, kBumpRow * kCellSize, EffectBump);
        StepWorld(hero, controls);
        ++frame;
        for (const Actor& a : actors)
            actorsSeen += a.active;
        for (const TileEffect& e : tileEffects)
            effectsSeen += e.active;
        benchmark::DoNotOptimize(hero);
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["actors"] = static_cast<double>(actorsSeen) / frames;
    state.counters["effects"] = static_cast<double>(effectsSeen) / frames;
    state.counters["lifts"] = liftCount;
}
BENCHMARK(BM_WorldUpdate)->Unit(benchmark::kMicrosecond);

} // namespace
