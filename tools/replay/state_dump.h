// The whole state of a running session as text, one "dump" line per record, and a digest of it.
//
// Each frame gives, in this order:
//   dump F game   <every GameState field>
//   dump F world  <every WorldState field, statusMessage quoted>
//   dump F hero   <every Player field>
//   dump F actor[S] <every Actor field>     for each active actor slot S
//   dump F lift[S]  <every Lift field>      for each lift
//   dump F effect[S] <every TileEffect field> for each active effect slot S
//   dump F options <OptionsMenu and KeyCapture fields>  while the options screen runs
//   dump F settings <every Settings field, keys= and pad= as comma lists>  likewise
//   dump F music id=N                         the module the session holds (-1 none)
//   dump F grid columns=N live=HHHHHHHH restore=HHHHHHHH   (checksums of both grids)
//   dump F sounds played=I,J,...              when sounds were asked for since the last frame
//   dump F picture draws=N sum=HHHHHHHH       when something was drawn since the last frame:
//                                             how many drawing calls, and a checksum of them
// where F is the frame number of the run and every field is "name=value" with
// the member's own name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw_listener.h"

struct PlayState;

// Starting value of a digest.
constexpr uint64_t kDigestStart = 0xcbf29ce484222325ull;

// Adds size bytes to a running 64-bit FNV-1a digest and returns the new value.
uint64_t AddToDigest(uint64_t digest, const void* data, size_t size);

// Adds a 32-bit value as its four bytes, least significant first, so the same
// values give the same digest whatever the machine's byte order.
uint64_t AddWordToDigest(uint64_t digest, uint32_t word);

// The drawing calls of one frame's picture: which tiles, texts, rectangles and
// pictures went where, not their pixels, so new artwork changes nothing here.
struct PictureLog {
    int draws = 0;
    uint64_t digest = kDigestStart;

    // Adds one call.
    void Add(const DrawCall& call);
};

// The dump lines of the session's state after frame `frame` (the game state,
// the play record `play`, the options while they run, the music), each ended by a
// newline; sounds are the sound ids asked for and picture what was drawn since
// the previous frame.
std::string FormatStateDump(long frame, const PlayState& play, const std::vector<int>& sounds, const PictureLog& picture);
