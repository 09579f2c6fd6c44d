// The world's frame: the phases in their fixed order.
#include "world/world_tick.h"

#include "world/actors.h"
#include "world/attempt_limits.h"
#include "world/lifts.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

void ResetWorld()
{
    PlayPieces& pieces = play;
    pieces = PlayPieces{};
    world.lives = kStartLives;
    world.hurryTimer = kHurryFrames;
    world.oxygen = kOxygenFull;
}

void StepWorld(Player& hero, const PlayerControls& controls)
{
    UpdateTileEffects(hero);
    UpdateActors(hero);
    UpdateLifts(hero);
    if (!hero.active)
        return;
    UpdatePlayer(hero, controls);
    RunHurryTimer(hero);
    RunOxygen(hero);
}
