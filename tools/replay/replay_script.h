// Replay input scripts: "<count> <buttons>" lines of held logical buttons, keys and pad buttons per input poll.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Pad buttons a script can press: 0..31.
constexpr int kScriptPadButtons = 32;

// What is held for `count` consecutive input polls: logical buttons (InputBits
// values, pressed through their current key bindings), further keys by SDL key
// symbol, and pad buttons (bit n for button n).
struct ReplayStep {
    long count = 0;
    uint32_t buttons = 0;
    std::vector<int> keys;
    uint32_t padButtons = 0;
};

struct ReplayScript {
    std::vector<ReplayStep> steps;
};

// Largest count of one line, and of --frames: about 190 days of play.
constexpr long kMaxReplayCount = 1000000000L;

// Where a playback stands in its script, so each poll finds its step without
// walking the list from the start.
struct ScriptCursor {
    size_t step = 0;    // index of the step holding stepStart
    long stepStart = 0; // first poll of that step
};

// Parses a script: one "<count> <buttons>" per line, buttons from L R U D J S P
// (left, right, up, down, jump, start, pause) and braced tokens, or "-" for
// none: {NAME} is a key by its SDL key name ("_" for a space: {a}, {escape},
// {caps_lock}), {NUMBER} a key by its symbol ({302}), {padN} pad button N
// (0..31). "#" starts a comment; blank lines are ignored; counts above
// kMaxReplayCount are refused. On failure returns false and describes the
// first bad line in error.
bool ParseReplayScript(const std::string& text, ReplayScript& script, std::string& error);

// The step holding input poll `poll` (0-based), or null after the script's end.
// The cursor remembers the step found: polls asked in rising order cost O(1) each.
const ReplayStep* StepAtPoll(const ReplayScript& script, long poll, ScriptCursor& cursor);

// The logical buttons held at input poll `poll`; none after the script's end.
uint32_t ButtonsAtPoll(const ReplayScript& script, long poll, ScriptCursor& cursor);

// The highest pad button the script presses, or -1 for none.
int HighestPadButton(const ReplayScript& script);

// The SDL 1.2 key symbol of a key name as SDL names keys ("a", "escape",
// "caps lock"; "_" may stand for a space; any case), or 0 when no key has it.
int KeySymbolByName(const std::string& name);

// Total number of polls the script covers.
long ScriptLength(const ReplayScript& script);

// Writes held buttons per poll as a script, one line per run of equal polls.
std::string FormatReplayScript(const std::vector<uint32_t>& buttonsPerPoll);

// The button letters of a set, in the order L R U D J S P, or "-" for none.
std::string ButtonLetters(uint32_t buttons);
