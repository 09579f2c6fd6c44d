// The play record: everything one attempt's world is, in one object.
#pragma once

#include "world/actors.h"
#include "world/hero.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

// Everything of an attempt besides the grids: small, so a snapshot copies it whole.
struct PlayPieces {
    WorldState world;
    Actor actors[kActorSlots];
    Lift lifts[kMaxLifts];
    int liftCount = 0;
    TileEffect tileEffects[kEffectSlots];
    Player hero;
    int attemptFrame = 0; // frame counter of the running attempt
};

// One attempt's world: the pieces and the two grids they move on. Copying it as
// PlayPieces leaves the grids out, which is how snapshots share unchanged grids.
struct PlayState : PlayPieces {
    LevelMap levelMap;
};

// The one play record of the process. The world modules reach its parts by
// their own names (world, levelMap, actors, lifts, liftCount, tileEffects).
extern PlayState play;
