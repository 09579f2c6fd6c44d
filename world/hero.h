// The hero's record, the controls that steer him and his constants.
#pragma once

#include <cstdint>

struct Player {
    int32_t x = 0;           // left edge in stage pixels
    int32_t y = 0;           // top edge in stage pixels
    int32_t vy = 0;          // vertical speed in quarter pixels per frame, down positive
    int32_t walkCounter = 0; // +1 per frame walking right, -1 walking left
    int32_t idleTimer = 0;   // frames without walking; after the attempt ends, the countdown
    int32_t frame = 0x18;    // tile code drawn for the hero
    int32_t active = 0;      // takes part in play
    int32_t dead = 0;
    int32_t finished = 0; // reached the open exit
    int32_t atClosedDoor = 0;
    int32_t jumpLatch = 0;  // set from a jump until the jump control is released
    int32_t bounce = 0;     // an actor was just stomped
    int32_t onTrapdoor = 0; // overlaps a gate cell
    int32_t trapdoorX = 0;
    int32_t trapdoorY = 0;
    int32_t moverIndex = -1; // lift ridden this frame, -1 none
    int32_t deathEffect = 0; // tile effect kind shown while dying, 0 plain death
};

// What the player asks of the hero this frame, from the held buttons.
struct PlayerControls {
    int32_t left = 0;
    int32_t right = 0;
    int32_t jump = 0; // jump or up
    int32_t down = 0;
    int32_t start = 0;
};

// Hero constants.
constexpr int kSpeedQuarters = 4;      // vy is kept in quarter pixels
constexpr int kJumpSpeed = -21;        // quarter pixels per frame: rises 50 pixels
constexpr int kHopSpeed = -7;          // after a stomp with the jump latch set
constexpr int kStandingSpeed = 7;      // a standing hero sinks a pixel and is put back
constexpr int kIdleFrames = 500;       // frames without walking before the idle pose
constexpr int kPushFrames = 4;         // frames of walking into a block before it moves
constexpr int kFellOutY = 250;         // a living hero below this has fallen out
constexpr int kDeadGoneY = 2500;       // a dead hero below this leaves play
constexpr int kDeathEffectEndY = 1250; // where a finished death effect puts the hero
