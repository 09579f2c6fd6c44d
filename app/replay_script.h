// Replay input scripts: "<count> <buttons>" lines of held logical buttons per input poll.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Buttons held for `count` consecutive input polls (InputBits values).
struct ReplayStep {
    long count = 0;
    uint32_t buttons = 0;
};

struct ReplayScript {
    std::vector<ReplayStep> steps;
};

// Largest count of one line, and of --frames: about 190 days of play.
constexpr long kMaxReplayCount = 1000000000L;

// Where a playback stands in its script, so each poll finds its step without
// walking the list from the start.
struct ScriptCursor {
    size_t step = 0;     // index of the step holding stepStart
    long stepStart = 0;  // first poll of that step
};

// Parses a script: one "<count> <buttons>" per line, buttons from L R U D J S P
// (left, right, up, down, jump, start, pause) or "-" for none; "#" starts a
// comment; blank lines are ignored; counts above kMaxReplayCount are refused.
// On failure returns false and describes the first bad line in error.
bool ParseReplayScript(const std::string& text, ReplayScript& script, std::string& error);

// The buttons held at input poll `poll` (0-based); none after the script's end.
// The cursor remembers the step found: polls asked in rising order cost O(1) each.
uint32_t ButtonsAtPoll(const ReplayScript& script, long poll, ScriptCursor& cursor);

// Total number of polls the script covers.
long ScriptLength(const ReplayScript& script);

// Writes held buttons per poll as a script, one line per run of equal polls.
std::string FormatReplayScript(const std::vector<uint32_t>& buttonsPerPoll);

// The button letters of a set, in the order L R U D J S P, or "-" for none.
std::string ButtonLetters(uint32_t buttons);
