// Stage-wide values of the world: camera, score, lives, rings, timers, restart point, messages.
#pragma once

#include <cstdint>

// Room for the longest message of the message table (the 1007-character title
// scroller) plus its terminator.
constexpr int kStatusMessageSize = 1024;

// Attempt limits.
constexpr int kHurryFrames = 9000; // 150 seconds at 60 frames per second
constexpr int kOxygenFull = 620;
constexpr int kMaxScore = 9999;
constexpr int kMaxLives = 99;
constexpr int kStartLives = 6;
// Where the hero starts a new stage or new game.
constexpr int kDefaultRestartX = 16;
constexpr int kDefaultRestartY = 100;

struct WorldState {
    int cameraX = 0; // stage x of the left edge of the 320-pixel view; only grows
    int score = 0;   // 0..9999
    int lives = 0;   // 0..99
    int ringsLeft = 0;
    int ringsTotal = 0;
    int hurryTimer = 0; // frames left in the attempt
    int oxygen = 0;     // oxygen frames
    int restartX = kDefaultRestartX;
    int restartY = kDefaultRestartY;
    int checkpointTaken = 0;
    int checkpointTouched = 0;
    int doorCell = -1;     // grid index of the exit door's top-left cell, -1 none
    int runRightLatch = 0; // a released direction carries the hero to the next multiple of 8
    int runLeftLatch = 0;
    int pushCounter = 0;                         // frames of pushing into a block, 0..3
    int splashPlayed = 0;                        // the splash has sounded for the hero's present stay in water
    char statusMessage[kStatusMessageSize] = {}; // death or end-of-attempt message
};

// The world state of the running attempt (part of the play record).
extern WorldState& world;

// The restart point of a new stage: the default place, no checkpoint taken.
void ResetRestartPoint();

// Copies text into statusMessage (cut to fit).
void SetStatusMessage(const char* text);
