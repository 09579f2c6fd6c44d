// Integer cosine and sine, 1024 for 1, over 512 steps of a full turn: the maker's scene circles its picture with them.
#pragma once

// Steps of one full turn in the tables.
constexpr int kCircleSteps = 512;

// trunc(1024 x cos(2 pi i / 512)) and trunc(1024 x sin(2 pi i / 512)) for i = 0..511.
extern const int CosTable[kCircleSteps];
extern const int SinTable[kCircleSteps];
