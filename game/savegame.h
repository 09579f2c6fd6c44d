// The savegame "savegame.dat": the last completed stage in 4 scrambled bytes that carry their own check.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kSaveGameSize = 4;

// The stage held by savegame bytes (only the first 4 are looked at): 1..10,
// or 0 when there are fewer than 4 bytes, the random word is 0 or 0xFFFF, the
// check fails or the stage lies outside 1..10.
int DecodeSaveGame(const uint8_t* data, size_t size);

// The 4 file bytes that hold stage with the random word r (neither 0 nor 0xFFFF).
void EncodeSaveGame(int stage, uint16_t r, uint8_t* out);

// A random word for a new savegame from rand(): at most 10 draws for one that
// is neither 0 nor 0xFFFF, else a fixed one.
uint16_t DrawSaveGameWord();

// The last completed stage from the first four bytes of "savegame.dat" (the rest
// is ignored), 0 when there is none or it is not valid.
int ReadSaveGame();

// Records stage c (1..9) as the last completed one in "savegame.dat" (a failed
// write keeps the old file and is ignored) and sets continueStage to c.
void WriteSaveGame(int c);
