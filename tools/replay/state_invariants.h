// What must hold after every frame of play, checked by fribb3-replay --check for the soak.
#pragma once

#include <string>

struct PlayState;

// The first rule the play record breaks after a frame, in words ("actor[3].type=9"),
// or an empty string when all hold: hero, actors, lifts and effects within their
// ranges and slot counts, rings left never negative, score at most 9999, lives at
// most 99, timers within their limits, both grids holding only map codes and the
// restore grid never a busy cell.
std::string BrokenInvariant(const PlayState& play);

// Bytes the program holds from the C heap now, for watching memory growth.
long HeapInUse();
