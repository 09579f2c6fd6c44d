// The hurry timer and oxygen: the attempt's time limit and drowning.
#include "world/attempt_limits.h"

#include "core/messages.h"
#include "core/sound.h"
#include "world/hero.h"
#include "world/level_map.h"
#include "world/score.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {
// Oxygen refills this much per frame out of water, up to the full mark.
constexpr int kOxygenRefill = 2;
} // namespace

bool HeroInWater(const Player& hero)
{
    const TileCode c = TileAtPixel(hero.x + kCellSize / 2, hero.y + kCellSize / 2);
    return (c >= tile::WaterSurfaceA && c <= tile::WaterLast) || c == tile::Water || c == tile::WaterB ||
           c == tile::WaterC;
}

void RunHurryTimer(Player& hero)
{
    world.hurryTimer -= 1;
    if (world.hurryTimer == 0)
        EndAttempt(hero, GetText(TXT_TIME_UP), 0);
}

void RunOxygen(Player& hero)
{
    if (HeroInWater(hero)) {
        world.oxygen -= 1;
        if (world.oxygen == 0)
            KillPlayer(hero, GetText(TXT_DROWNED), EffectDrowning);
        // Looked at after the drowning: a hero who just drowned makes no splash.
        if (!world.splashPlayed && hero.active && !hero.dead) {
            PlaySound(SoundSplash);
            world.splashPlayed = 1;
        }
    } else {
        if (hero.active && !hero.dead && world.oxygen <= kOxygenFull - kOxygenRefill)
            world.oxygen += kOxygenRefill;
        world.splashPlayed = 0;
    }
}
