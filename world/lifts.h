// Lifts: vertical moving platforms made from lift markers at stage load.
#pragma once

#include <cstdint>

struct Player;

struct Lift {
    int32_t x = 0, y = 0; // top-left in stage pixels
    int32_t dir = 1;      // +1 moving down, -1 moving up
};

constexpr int kMaxLifts = 64;
// The lifts of the running attempt (part of the play record).
extern Lift (&lifts)[kMaxLifts];
extern int& liftCount;

// Removes all lifts.
void ClearLifts();

// Appends a lift moving down at (x, y); nothing when 64 exist.
void AddLift(int x, int y);

// Moves every lift one pixel, sets player.moverIndex and crushes the hero.
void UpdateLifts(Player& player);
