// Tile effects: timed cell changes, moving blocks and the hero's death animations.
#include "world/tile_effects.h"

#include "core/sound.h"
#include "world/hero.h"
#include "world/level_map.h"

namespace {

// Kinds from here up are placed in stage pixels instead of cells.
constexpr int kFirstHeroKind = EffectSuicide;

// Cell codes shown frame by frame; the index is t >> 3, t >> 1 or t >> 2 as the kind says.
constexpr TileCode kBrickFrames[] = {200, 201, 202, 203, 0, 0};
constexpr TileCode kCrumbleFrames[] = {180, 181, 182, 183, 0, 0};
constexpr TileCode kSpikeFrames[] = {tile::Spikes, tile::Spikes, tile::SpikesOut, tile::SpikesOut};
constexpr TileCode kBumpFrames[] = {0x50, 0x64, 0x78, tile::BumpBlock, tile::BumpBlock};
constexpr int kBrickLastStep = 5;
constexpr int kSpikeLastStep = 3;
constexpr int kBumpLastStep = 4;
constexpr int kCheckpointTicks = 3;    // the checkpoint shows each image for two of these steps
constexpr int kCheckpointLastStep = 5; // in steps of kCheckpointTicks
constexpr int kBlockMoveFrames = 4;
constexpr int kExplosionFrames = 32;
constexpr int kHeroDeathFrames = 64;
constexpr int kSmashedFrames = 32;
constexpr int kSuicideLoopFrame = 23; // the give-up animation repeats its later images
constexpr int kLastRow = kRows - 1;

// Sends the hero, hidden while his death effect ran, out of the stage.
void FinishHeroDeath(Player& player)
{
    if (player.deathEffect == 0)
        return;
    player.deathEffect = 0;
    player.y = kDeathEffectEndY;
}

// Blocks stop on solid ground, busy cells and other blocks.
bool HoldsBlock(TileCode code)
{
    const TileKind kind = KindOf(code);
    return kind == Solid || kind == Pushable;
}

// Kinds 10, 11 and 12: a block moving one cell right, left or down.
void UpdateBlockMove(TileEffect& e)
{
    const int c = e.x, r = e.y;
    int destC = c, destR = r;
    if (e.kind == EffectPushRight)
        destC = c + 1;
    else if (e.kind == EffectPushLeft)
        destC = c - 1;
    else
        destR = r + 1;

    e.t += 1;
    if (e.t == 1 && e.kind != EffectFall) {
        // Remember what the block is sliding over, then hold both cells.
        const TileCode under = TileAt(destC, destR);
        if (under < BusyCell)
            SetRestore(destC, destR, under);
        SetTile(destC, destR, BusyCell);
        SetTile(c, r, BusyCell);
    }
    if (e.t != kBlockMoveFrames)
        return;

    TileCode left = RestoreAt(c, r);
    if (left == tile::PushBlock)
        left = tile::None;
    SetTile(c, r, left);
    SetTile(destC, destR, tile::PushBlock); // nothing when the block fell out below row 11

    if (e.kind == EffectFall) {
        // Below the stage counts as empty, so a block in the bottom row drops out.
        if (r < kLastRow && !HoldsBlock(TileAt(c, r + 2)))
            StartTileEffect(destC * kCellSize, destR * kCellSize, EffectFall);
        else
            PlaySound(SoundKrack);
    } else if (r < kLastRow && !HoldsBlock(TileAt(destC, destR + 1))) {
        StartTileEffect(destC * kCellSize, destR * kCellSize, EffectFall);
    }
    e.active = 0;
    // A block stacked on the old place follows.
    if (r > 0 && TileAt(c, r - 1) == tile::PushBlock)
        StartTileEffect(c * kCellSize, (r - 1) * kCellSize, EffectFall);
}

// Kinds 14 and 16 to 19: the hero's death animations in pixels.
void UpdateHeroDeath(TileEffect& e, Player& player)
{
    e.t += 1;
    if (e.t < kHeroDeathFrames)
        return;
    if (e.kind == EffectSuicide)
        e.t = kSuicideLoopFrame;
    else if (e.kind == EffectDrowning) {
        e.kind = EffectDrowned;
        e.t = 0;
    } else
        e.active = 0;
    FinishHeroDeath(player);
}

void UpdateEffect(TileEffect& e, Player& player)
{
    const int t = e.t;
    switch (e.kind) {
    case EffectBrick:
        SetTile(e.x, e.y, kBrickFrames[t >> 3]);
        if ((t >> 3) == kBrickLastStep)
            e.active = 0;
        e.t += 1;
        break;
    case EffectCrumble:
        SetTile(e.x, e.y, kCrumbleFrames[t >> 3]);
        if ((t >> 3) == kBrickLastStep)
            e.active = 0;
        e.t += 1;
        break;
    case EffectSpikes:
        SetTile(e.x, e.y, kSpikeFrames[t >> 1]);
        if ((t >> 1) == kSpikeLastStep)
            e.active = 0;
        e.t += 1;
        break;
    case EffectBump:
        SetTile(e.x, e.y, kBumpFrames[t >> 1]);
        if ((t >> 1) == kBumpLastStep)
            e.active = 0;
        e.t += 1;
        break;
    case EffectGate:
        SetTile(e.x, e.y, (t >> 2) == 0 ? tile::GateClosing : tile::GateShut);
        if ((t >> 2) == 1)
            e.active = 0;
        e.t += 1;
        break;
    case EffectCheckpoint:
        SetTile(e.x, e.y, tile::Checkpoint + ((t / kCheckpointTicks) >> 1));
        if (t / kCheckpointTicks == kCheckpointLastStep)
            e.active = 0;
        e.t += 1;
        break;
    case EffectPickUp:
        SetTile(e.x, e.y, tile::None);
        e.active = 0;
        break;
    case EffectExplosion:
        if (t == 0)
            SetTile(e.x, e.y, tile::Water);
        e.t += 1;
        if (e.t >= kExplosionFrames)
            e.active = 0;
        break;
    case EffectPushRight:
    case EffectPushLeft:
    case EffectFall:
        UpdateBlockMove(e);
        break;
    case EffectSuicide:
    case EffectDrowning:
    case EffectCrushedByEnemy:
    case EffectStabbed:
    case EffectImpaled:
        UpdateHeroDeath(e, player);
        break;
    case EffectSmashed:
        e.t += 1;
        if (e.t >= kSmashedFrames) {
            e.active = 0;
            FinishHeroDeath(player);
        }
        break;
    case EffectDrowned:
        e.t += 1;
        break;
    default:
        // Unused kind numbers would hold a slot for ever.
        e.active = 0;
        break;
    }
}

} // namespace

void ClearTileEffects()
{
    for (TileEffect& e : tileEffects)
        e = TileEffect{};
}

int StartTileEffect(int x, int y, int kind)
{
    if (kind < kFirstHeroKind) {
        x >>= kCellShift;
        y >>= kCellShift;
    }
    TileEffect* slot = nullptr;
    int result = 0;
    for (TileEffect& e : tileEffects) {
        if (e.active && e.x == x && e.y == y) {
            slot = &e; // a running effect at the same place starts over as the new kind
            break;
        }
    }
    if (slot == nullptr) {
        for (TileEffect& e : tileEffects) {
            if (!e.active) {
                slot = &e;
                result = 1;
                break;
            }
        }
    }
    if (slot == nullptr)
        return 0;

    slot->active = 1;
    slot->t = 0;
    slot->kind = kind;
    slot->x = x;
    slot->y = y;
    if (kind == EffectFall) {
        // Hold the block's cell and the one below for the whole fall.
        if (y + 1 <= kLastRow) {
            const TileCode under = TileAt(x, y + 1);
            if (under < BusyCell)
                SetRestore(x, y + 1, under);
        }
        SetTile(x, y, BusyCell);
        SetTile(x, y + 1, BusyCell);
    }
    return result;
}

int TileEffectRunning(int x, int y, int kind)
{
    if (kind < kFirstHeroKind) {
        x >>= kCellShift;
        y >>= kCellShift;
    }
    for (const TileEffect& e : tileEffects)
        if (e.active && e.kind == kind && e.x == x && e.y == y)
            return 1;
    return 0;
}

void UpdateTileEffects(Player& player)
{
    for (TileEffect& e : tileEffects)
        if (e.active)
            UpdateEffect(e, player);
}
