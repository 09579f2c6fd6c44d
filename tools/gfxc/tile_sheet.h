// Composing the 320x192 tile sheet from the tile blocks of pixel-art files.
#pragma once

#include "core/geometry.h"
#include "image.h"
#include "palette.h"
#include "pixel_art.h"

// Draws every "tile CODE" block of the library into a 320x192 sheet, tile i at
// column i mod 20, row i / 20; codes without a block stay transparent. Throws
// when a tile is not 16x16, its code is 240 or more, or a colour is unknown.
Image BuildTileSheet(const ArtLibrary& library, const Palette& palette);

// Draws a resolved block with its top-left corner at (x, y), each pixel as a
// scale x scale square, mirrored when asked; key pixels are left untouched.
void DrawArt(Image& target, const CharGrid& art, const Palette& palette, int x, int y, int scale, bool mirror,
             const std::string& file, int line);
