// One whole stage frame, world update plus DrawPlayfield into the logical screen, on a busy stage.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "assets/archive.h"
#include "assets/fonts.h"
#include "assets/front_end_images.h"
#include "assets/tile_images.h"
#include "game/game_state.h"
#include "game/playfield_render.h"
#include "game/stage_loader.h"
#include "game/stage_loop.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/draw.h"
#include "platform/tick_source.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/map_format.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"
#include "world/world_tick.h"

namespace {

constexpr int kColumns = 600;
constexpr int kFloorRow = 10;
constexpr int kPlatformRow = 5;
constexpr int kJumpPeriod = 45;       // a fresh jump every 45 frames keeps the hero mostly airborne
constexpr int kFramesPerStage = 2000; // then the stage is loaded again
constexpr int kLiftEvery = 9;

// Stage bytes: ground, a running platform with rings over a crowd of enemies,
// bricks and bump blocks, water pools with fish, lifts, and front-layer
// scenery everywhere, so every drawing path has work in every frame.
std::vector<uint8_t> BusyStage()
{
    StageMap map;
    map.columns = kColumns;
    map.cells.assign(kColumns * kRows, 0);
    auto set = [&](int c, int r, int code) { map.cells[c * kRows + r] = static_cast<uint8_t>(code); };
    const int enemies[] = {0x09, 0x0D, 0x79, 0x43};
    const int scenery[] = {0x51, 0x52, 0x53, 0x54, 0x1E, 0x1F, 0x20, 0x46};
    for (int c = 0; c < kColumns; ++c) {
        set(c, kFloorRow, 0x15);
        set(c, kFloorRow + 1, 0x17);
        set(c, kPlatformRow, 0x15);
        set(c, kPlatformRow - 1, c % 3 == 0 ? 0x29 : scenery[c % 8]);
        set(c, 0, scenery[(c + 3) % 8]);
        set(c, 1, c % 2 == 0 ? 0x28 : 0x14);
        if (c % 2 == 1)
            set(c, kFloorRow - 1, enemies[(c / 2) % 4]);
        if (c % 8 == 2)
            set(c, 7, 0x21);
        if (c % 12 >= 8) {
            set(c, kFloorRow, c % 12 == 10 ? 0x35 : 0xA0 + (c % 2));
            set(c, kFloorRow - 2, 0x53);
        }
        if (c % kLiftEvery == 4)
            set(c, 3, 0x42);
    }
    set(1, kPlatformRow - 1, 0x41);
    set(kColumns - 3, kFloorRow - 2, 0x1B);
    return EncodeStageMap(map);
}

void OpenScreenAndArt()
{
    SDL_Init(SDL_INIT_VIDEO);
    DisplayConfig d;
    d.fullscreen = 0;
    d.zoom = 0;
    OpenDisplay(d);
    MapColors();
    CreateDimOverlay();
    // The game's own pictures when the benchmark runs from the build directory.
    OpenArchiveFile(ArchiveGfx, "data/gfx.zda");
    LoadFonts();
    LoadBack();
    std::srand(1);
    LoadTileImages();
    UseVirtualClock(0);
}

void LoadBusyStage(Player& hero, const std::vector<uint8_t>& stage)
{
    ResetWorld();
    game = GameState{};
    game.stage = 1;
    ApplyStageMap(stage.data(), stage.size(), hero);
}

void BM_StageFrame(benchmark::State& state)
{
    OpenScreenAndArt();
    const std::vector<uint8_t> stage = BusyStage();
    Player hero;
    LoadBusyStage(hero, stage);
    // Past the intro, so the hero and the world move and nothing is dimmed.
    int frame = kIntroLastFrame + 1;
    int stageFrames = 0;
    long actorsSeen = 0;
    for (auto _ : state) {
        PlayerControls controls;
        controls.right = 1;
        controls.jump = (frame % kJumpPeriod) < 10;
        StepWorld(hero, controls);
        DrawPlayfield(frame, hero);
        benchmark::DoNotOptimize(screenSurface);
        ++frame;
        for (const Actor& a : actors)
            actorsSeen += a.active;
        if (++stageFrames == kFramesPerStage || !hero.active) {
            state.PauseTiming();
            LoadBusyStage(hero, stage);
            stageFrames = 0;
            state.ResumeTiming();
        }
    }
    state.counters["actors"] = benchmark::Counter(static_cast<double>(actorsSeen), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_StageFrame)->Unit(benchmark::kMicrosecond)->Iterations(6000)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
