// Enemies: the 32 actor slots, spawning, movement, stomps and kills.
#pragma once

#include <cstdint>

struct Player;

enum ActorType {
    ActorMasky = 1,
    ActorBeetle = 2,
    ActorWingedEye = 3,
    ActorWingedEyeStomped = 4,
    ActorAcidFish = 5,
    ActorSkull = 6,
};

struct Actor {
    int32_t x = 0, y = 0; // top-left in stage pixels
    int32_t dx = 0;       // pixels per frame; 0 stopped (stomped)
    int32_t savedDx = 0;  // SKULL: dx when stomped
    int32_t vy = 0;       // falling speed in thirds of a pixel per frame
    int32_t timer = 0;    // frames since spawn or since the last stomp
    int32_t type = 0;
    int32_t active = 0;
    int32_t stompable = 0;
    int32_t stompCount = 0; // SKULL: stomps received
};

constexpr int kActorSlots = 32;
// The actor slots of the running attempt (part of the play record).
extern Actor (&actors)[kActorSlots];

// Frees all actor slots.
void ClearActors();

// Takes the lowest free slot; 0 when all 32 are in use.
int SpawnActor(int x, int y, int type);

// Moves every active actor one frame; stomps and kills the hero.
void UpdateActors(Player& player);
