// A stage played headless inside the process, frame by frame, the way the stage loop plays it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/play_state.h"

// Everything one frame of play reads and writes: a copy of the play record's
// pieces, its two grids shared between snapshots while they do not change (so
// many snapshots stay cheap), and the simulation's own input state.
struct SimSnapshot : PlayPieces {
    std::shared_ptr<const std::vector<TileCode>> live, restore;
    int columns = 0;
    uint32_t lastButtons = 0;
    PlayerControls controls;
    long frames = 0;
};

// The first attempt at a stage (1..10) from a binary map: a new game's score
// and lives, the default restart point, the map loaded as the stage loader does.
void StartSimStage(const std::vector<uint8_t>& map, int stage);

// One frame with these buttons held (InputBits of a replay script): the intro
// phase, the world update, the hurry timer and oxygen. Pause and start are not
// played; a paused frame would freeze the world.
void StepSimFrame(uint32_t buttons);

// The hero as the last frame left him.
const Player& SimHero();
// Frames played since the start.
long SimFrames();
// True once the hero stands in the open exit.
bool SimFinished();
// True once the hero was killed or left play (fell out, time up).
bool SimFailed();

// The whole playing state; a snapshot restored continues exactly as the original would.
// With a base, grids equal to the base's are shared with it instead of copied.
SimSnapshot TakeSimSnapshot(const SimSnapshot* base = nullptr);
void RestoreSimSnapshot(const SimSnapshot& snapshot);

// How a run of per-frame buttons ended.
struct SimOutcome {
    bool finished = false;
    bool failed = false;
    long frames = 0; // frames played until the exit, the failure or the input's end (plus the tail)
    int ringsLeft = 0;
    std::string status; // the death or end message, empty when none
};

// Plays buttons (one entry per frame) from a fresh start, then up to tailFrames
// more with nothing held, stopping at the exit or the first failure.
SimOutcome PlaySimRun(const std::vector<uint8_t>& map, int stage, const std::vector<uint32_t>& buttons,
                      long tailFrames);
