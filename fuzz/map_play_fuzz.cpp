// Fuzz target: any bytes as a stage map, loaded as an attempt start and then played for a few
// hundred frames with controls taken from the same bytes; the world rules must hold on hostile maps.
#include <cstddef>
#include <cstdint>

#include "game/game_state.h"
#include "game/stage_loader.h"
#include "world/actors.h"
#include "world/map_format.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"
#include "world/world_tick.h"

namespace {

constexpr int kFrames = 300;
// Stages the map is tried as: the title (no hero), a playable one and the last.
constexpr int kStages[] = {0, 1, 10};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < kMapHeaderSize)
        return 0;
    // The map's own first cell byte picks the stage rules, so the fuzzer reaches all of them.
    game = GameState{};
    game.stage = kStages[size > kMapHeaderSize ? data[kMapHeaderSize] % 3 : 0];
    ResetWorld();
    Player hero{};
    ApplyStageMap(data, size, hero);
    for (int f = 0; f < kFrames; ++f) {
        const uint8_t b = data[(static_cast<size_t>(f) * 7) % size];
        PlayerControls c;
        c.left = b & 1;
        c.right = (b >> 1) & 1;
        c.jump = (b >> 2) & 1;
        c.down = (b >> 3) & 1;
        c.start = (b >> 4) & 1;
        StepWorld(hero, c);
    }
    return 0;
}
