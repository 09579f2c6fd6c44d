// What must hold after every frame of play, checked by fribb3-replay --check for the soak.
#include "tools/replay/state_invariants.h"

#include <malloc.h>

#include <algorithm>

#include "core/geometry.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/tile_codes.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

// Cell codes are one byte in the map and stay below this.
constexpr TileCode kCodeLimit = 256;
// Room an actor may take beyond the stage's ends before its slot is freed.
constexpr int kActorMargin = 512;
// Actors fall out below the playfield by a little before they are dropped.
constexpr int kActorLowest = 256;
// The highest a living hero's top edge gets: a jump from the top row.
constexpr int kHeroHighest = -kStageHeight;

bool Within(long v, long lo, long hi)
{
    return v >= lo && v <= hi;
}

std::string Field(const char* record, int slot, const char* field, long value)
{
    std::string s = record;
    if (slot >= 0)
        s.append("[").append(std::to_string(slot)).append("]");
    return s.append(".").append(field).append("=").append(std::to_string(value));
}

std::string BrokenWorld(const PlayState& p)
{
    if (!Within(p.world.score, 0, kMaxScore))
        return Field("world", -1, "score", p.world.score);
    if (!Within(p.world.lives, 0, kMaxLives))
        return Field("world", -1, "lives", p.world.lives);
    if (p.world.ringsLeft < 0)
        return Field("world", -1, "ringsLeft", p.world.ringsLeft);
    if (!Within(p.world.hurryTimer, 0, kHurryFrames))
        return Field("world", -1, "hurryTimer", p.world.hurryTimer);
    if (p.world.oxygen > kOxygenFull)
        return Field("world", -1, "oxygen", p.world.oxygen);
    // The view starts at most a screen left of the stage (a stage narrower than the
    // view) and never shows past its right end.
    const long stageWidth = static_cast<long>(p.levelMap.columns) * kCellSize;
    if (!Within(p.world.cameraX, -kScreenWidth, std::max(0L, stageWidth - kScreenWidth)))
        return Field("world", -1, "cameraX", p.world.cameraX);
    return {};
}

std::string BrokenGrid(const PlayState& p)
{
    const size_t cells = static_cast<size_t>(p.levelMap.columns) * kRows;
    if (p.levelMap.live.size() != cells || p.levelMap.restore.size() != cells)
        return Field("grid", -1, "cells", static_cast<long>(p.levelMap.live.size()));
    for (size_t i = 0; i < cells; ++i) {
        if (p.levelMap.live[i] >= kCodeLimit)
            return Field("grid.live", static_cast<int>(i), "code", p.levelMap.live[i]);
        if (p.levelMap.restore[i] >= kCodeLimit || p.levelMap.restore[i] == BusyCell)
            return Field("grid.restore", static_cast<int>(i), "code", p.levelMap.restore[i]);
    }
    return {};
}

std::string BrokenSlots(const PlayState& p)
{
    const long stageWidth = static_cast<long>(p.levelMap.columns) * kCellSize;
    for (int i = 0; i < kActorSlots; ++i) {
        const Actor& a = p.actors[i];
        if (!a.active)
            continue;
        if (!Within(a.type, ActorMasky, ActorSkull))
            return Field("actor", i, "type", a.type);
        if (!Within(a.x, -kActorMargin, stageWidth + kActorMargin))
            return Field("actor", i, "x", a.x);
        if (a.y > kActorLowest)
            return Field("actor", i, "y", a.y);
    }
    if (!Within(p.liftCount, 0, kMaxLifts))
        return Field("lifts", -1, "count", p.liftCount);
    for (int i = 0; i < p.liftCount; ++i) {
        if (!Within(p.lifts[i].y, 0, kStageHeight - kCellSize))
            return Field("lift", i, "y", p.lifts[i].y);
        if (p.lifts[i].dir != 1 && p.lifts[i].dir != -1)
            return Field("lift", i, "dir", p.lifts[i].dir);
    }
    for (int i = 0; i < kEffectSlots; ++i) {
        const TileEffect& e = p.tileEffects[i];
        if (!e.active)
            continue;
        if (!Within(e.kind, EffectBrick, EffectDrowned))
            return Field("effect", i, "kind", e.kind);
        if (e.kind < EffectSuicide && (!Within(e.x, 0, p.levelMap.columns - 1) || !Within(e.y, 0, kRows - 1)))
            return Field("effect", i, "cell", static_cast<long>(e.x) * kRows + e.y);
    }
    return {};
}

std::string BrokenHero(const PlayState& p)
{
    const Player& hero = p.hero;
    if (!Within(hero.active, 0, 1) || !Within(hero.dead, 0, 1) || !Within(hero.finished, 0, 1))
        return Field("hero", -1, "flags", hero.active * 100 + hero.dead * 10 + hero.finished);
    if (!hero.active || hero.dead)
        return {};
    const long stageWidth = static_cast<long>(p.levelMap.columns) * kCellSize;
    if (!Within(hero.x, -kCellSize, stageWidth))
        return Field("hero", -1, "x", hero.x);
    if (!Within(hero.y, kHeroHighest, kFellOutY + kCellSize))
        return Field("hero", -1, "y", hero.y);
    return {};
}

} // namespace

std::string BrokenInvariant(const PlayState& p)
{
    for (std::string broken : {BrokenWorld(p), BrokenGrid(p), BrokenSlots(p), BrokenHero(p)})
        if (!broken.empty())
            return broken;
    return {};
}

long HeapInUse()
{
    // Small blocks from the arena and large ones mapped on their own.
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long>(m.uordblks + m.hblkhd);
}
