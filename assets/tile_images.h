// The 240 tile images and the water-surface animation, cut from the tile sheet "blocks".
#pragma once

#include "core/geometry.h"

struct SDL_Surface;

// Size the tile sheet "blocks" needs: 20 columns x 12 rows of 16x16 tiles.
constexpr int kTileSheetWidth = kTileSheetColumns * kCellSize;
constexpr int kTileSheetHeight = kTileSheetRows * kCellSize;
// Sheet row of the water surface strip (tiles 0xA0 and 0xA1, sheet x 0..31).
constexpr int kWaterStripY = 128;
// Water offsets are 0..kWaterOffsets-1.
constexpr int kWaterOffsets = 15;

// Loads "blocks" and fills tileImages and waterFrames from it (rand() picks the
// four water offsets). A missing or undecodable sheet ends the process in
// LoadBitmap; one smaller than 320x192 with "Error loading gfx file".
void LoadTileImages();

// Fills tileImages from sheet (at least 320x192): tile i is the cell at column
// i mod 20, row i / 20, keyed on magenta. Earlier tile images are not freed.
void CutTileImages(SDL_Surface* sheet);

// Makes one water pair from sheet: the 32-pixel strip at (0, 128) rotated left by
// r (0..14); pair[0] shows strip x r..r+15, pair[1] the rest and then x 0..r-1.
void MakeWaterPair(SDL_Surface* sheet, int r, SDL_Surface* pair[2]);

// Frees the 240 tile images, then the four water pairs; all become null.
void FreeTileImages();
