// The lines fribb3-replay prints: one per frame with --trace, and the final line.
//
// Both are "key=value" fields separated by single spaces, in a fixed order:
//   frame=N stage=S aframe=A x=X y=Y vy=V active=0|1 dead=0|1 finished=0|1
//   score=N lives=N rings=N hurry=N oxygen=N camera=N status="TEXT"
// A trace line starts with "trace ", the final line with "final " and adds
//   attempts=K ended=HOW digest=HHHHHHHHHHHHHHHH
// where HOW is finished, killed, fell, timeup, quit, menu, frames (the --frames
// limit) or limit (the built-in safety limit), and the digest is a hash of
// every frame's state dump (tools/replay/state_dump.h), so two runs with the same
// digest went through the same states. status is quoted; a quote or a
// backslash inside it is escaped with a backslash, other bytes outside
// printable ASCII are written as \xHH.
#pragma once

#include <cstdint>
#include <string>

struct Player;

// The values one report line shows.
struct ReplaySnapshot {
    long frame = 0; // frames of the whole run so far
    int stage = 0;
    int attemptFrame = 0;
    int x = 0, y = 0, vy = 0;
    int active = 0, dead = 0, finished = 0;
    int score = 0, lives = 0, ringsLeft = 0;
    int hurryTimer = 0, oxygen = 0, cameraX = 0;
    std::string status;
    int menuState = 0, continueStage = 0;
};

// The snapshot of the running session for hero after `frame` frames of the run.
ReplaySnapshot TakeReplaySnapshot(const Player& hero, long frame);

// The shared fields of both lines (without the "trace "/"final " word).
std::string FormatReplayFields(const ReplaySnapshot& s);

// "trace " + fields.
std::string FormatTraceLine(const ReplaySnapshot& s);

// "final " + fields + " attempts=K ended=HOW digest=HHHHHHHHHHHHHHHH" (16 hex digits).
std::string FormatFinalLine(const ReplaySnapshot& s, int attempts, const std::string& ended, uint64_t digest);

// The fields a run from program start (--boot) adds to its final line:
// " menu=M continue=C" (menuState and continueStage).
std::string FormatBootFields(const ReplaySnapshot& s);

// text in double quotes with the escapes described above.
std::string QuoteStatus(const std::string& text);
