// Reading a ProTracker MOD's layout: its channels, its playing time, and copies with channels muted.
#pragma once

#include <cstdint>
#include <vector>

// Channels of a 31-sample MOD ("M.K." and friends 4, "6CHN" 6, "8CHN" 8), 0 when not one.
int ModChannelCount(const std::vector<uint8_t>& mod);

// Frames the order list takes to play once at `rate` as libmodplug times it: every row
// lasts speed ticks of (rate * 5 / 2 / tempo) frames, following speed, tempo and pattern-break
// commands. 0 for data that is not a MOD.
long ModPlayFrames(const std::vector<uint8_t>& mod, int rate);

// The frame at which each pattern of the order list starts playing once at `rate`, timed as
// ModPlayFrames does, followed by the frame where the module ends; empty for data that is not a MOD.
std::vector<long> ModOrderFrames(const std::vector<uint8_t>& mod, int rate);

// A copy of the module in which only the channels whose bit is set in `keep` play; the
// others keep their speed, tempo, break and jump commands so the timing is unchanged.
std::vector<uint8_t> SoloChannels(const std::vector<uint8_t>& mod, unsigned keep);
