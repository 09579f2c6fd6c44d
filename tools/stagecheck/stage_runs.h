// Playing a stage's finishing script on the headless stage player: the finish, the safe start and route tolerance.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A finishing script: the buttons of every frame and the script line each frame comes from.
struct FinishScript {
    std::vector<uint32_t> input;
    std::vector<int> lineOf;
};

// Reads a replay script keeping line numbers; false with "line N: what" in error.
bool ReadFinishScript(const std::string& text, FinishScript& script, std::string& error);

// Frames a finishing script may take: two thirds of the 150-second limit.
constexpr long kMaxFinishFrames = 6000;
// The playfield's top row is the screen's top edge: a hero further above it than this, in
// pixels, is drawn nowhere, and the player steers him blind.
constexpr int kOutOfSightPixels = 4;
// Frames after the intro that a hero left alone must survive.
constexpr long kSafeWaitFrames = 600;
// Frames of the intro phase at the start of every attempt.
constexpr long kIntroFrames = 181;

// How the finishing script played: ok when it reached the exit with every ring, alive, within
// kMaxFinishFrames, never more than kOutOfSightPixels above the screen; otherwise line and what
// describe the failure (for a hero out of sight, the line where he first rises out of it).
struct FinishCheck {
    bool ok = false;
    long frames = 0;
    long outOfSight = 0; // frames with the hero above the top of the screen
    int line = 0;
    std::string what;
};
FinishCheck CheckFinish(const std::vector<uint8_t>& map, int stage, const FinishScript& script);

// Empty when a hero who waits kSafeWaitFrames after the intro survives, else what happened.
std::string CheckSafeStart(const std::vector<uint8_t>& map, int stage);

// Shifted variants of a finishing script that still finish with every ring and no death.
struct Tolerance {
    int kept = 0;
    int tried = 0;
};
// Variants of a finishing script, each moving the input changes at `places` random places
// (after the intro) one or two frames earlier or later and holding its last buttons a while
// longer; the random sequence is fixed by seed.
std::vector<std::vector<uint32_t>> ShiftedScripts(const std::vector<uint32_t>& input, int variants, int places,
                                                  uint32_t seed);
// How many of the runs finish with every ring and no death.
Tolerance MeasureTolerance(const std::vector<uint8_t>& map, int stage, const std::vector<std::vector<uint32_t>>& runs);
