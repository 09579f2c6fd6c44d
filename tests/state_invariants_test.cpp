// The rules the soak checks after every frame: each one fires on the state that breaks it.
#include <gtest/gtest.h>

#include <functional>

#include "tools/replay/state_invariants.h"
#include "world/play_state.h"
#include "world/world_tick.h"

namespace {

// A sound state: a 30-column stage, the hero standing in it, nothing moving.
Player& SoundState()
{
    levelMap.columns = 30;
    levelMap.live.assign(30 * kRows, 0);
    levelMap.restore.assign(30 * kRows, 0);
    ResetWorld();
    Player& hero = play.hero;
    hero.active = 1;
    hero.x = 32;
    hero.y = 96;
    return hero;
}

TEST(StateInvariants, EachRuleFiresOnTheStateThatBreaksIt)
{
    const struct {
        const char* broken;
        std::function<void(Player&)> breakIt;
    } cases[] = {
        {"world.score=10000", [](Player&) { world.score = kMaxScore + 1; }},
        {"world.lives=100", [](Player&) { world.lives = kMaxLives + 1; }},
        {"world.ringsLeft=-1", [](Player&) { world.ringsLeft = -1; }},
        {"world.oxygen=621", [](Player&) { world.oxygen = kOxygenFull + 1; }},
        {"world.cameraX=161", [](Player&) { world.cameraX = 161; }},
        {"grid.restore[5].code=240", [](Player&) { levelMap.restore[5] = BusyCell; }},
        {"grid.live[7].code=256", [](Player&) { levelMap.live[7] = 256; }},
        {"actor[2].type=7", [](Player&) { actors[2] = Actor{0, 0, 0, 0, 0, 0, 7, 1}; }},
        {"lift[0].y=177",
         [](Player&) {
             AddLift(0, 0);
             lifts[0].y = 177;
         }},
        {"effect[1].cell=600",
         [](Player&) {
             tileEffects[1] = TileEffect{50, 0, 0, EffectBrick, 1};
         }},
        {"hero.y=267", [](Player& h) { h.y = kFellOutY + 17; }},
    };
    Player& hero = SoundState();
    EXPECT_EQ(BrokenInvariant(play), "");
    hero.dead = 1;
    hero.y = kDeadGoneY;
    EXPECT_EQ(BrokenInvariant(play), "") << "a dead hero may fall as far as he likes";
    for (const auto& c : cases) {
        c.breakIt(SoundState());
        EXPECT_EQ(BrokenInvariant(play), c.broken);
    }
}

} // namespace
