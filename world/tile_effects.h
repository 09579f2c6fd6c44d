// Timed changes of the stage (bricks, crumbling floors, spikes, gates, blocks) and death animations.
#pragma once

#include <cstdint>

struct Player;

enum TileEffectKind {
    EffectBrick = 1,
    EffectCrumble = 2,
    EffectSpikes = 4,
    EffectBump = 5,
    EffectGate = 6,
    EffectCheckpoint = 7,
    EffectPickUp = 8,
    EffectPushRight = 10,
    EffectPushLeft = 11,
    EffectFall = 12,
    EffectExplosion = 13,
    EffectSuicide = 14, // hero kinds (14 and up) are placed in pixels
    EffectSmashed = 15,
    EffectDrowning = 16,
    EffectCrushedByEnemy = 17,
    EffectStabbed = 18,
    EffectImpaled = 19,
    EffectDrowned = 20,
};

struct TileEffect {
    int32_t x = 0, y = 0; // cell for kinds below 14, stage pixels for hero kinds
    int32_t t = 0;        // frame counter
    int32_t kind = 0;
    int32_t active = 0;
};

constexpr int kEffectSlots = 16;
// The effect slots of the running attempt (part of the play record).
extern TileEffect (&tileEffects)[kEffectSlots];

// Frees all effect slots.
void ClearTileEffects();

// Starts an effect at stage pixel (x, y); 1 when a new slot was taken, 0 when an
// effect at the same place was restarted or no slot was free.
int StartTileEffect(int x, int y, int kind);

// 1 when an active effect of this kind sits at stage pixel (x, y) (converted to
// the cell for kinds below 14, as StartTileEffect does).
int TileEffectRunning(int x, int y, int kind);

// Advances every active effect one frame.
void UpdateTileEffects(Player& player);
