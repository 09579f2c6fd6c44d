// Drawing primitives on SDL surfaces: rectangles, blits, dimming, tiles and bitmap text.
#pragma once

#include <cstdint>

struct SDL_Surface;

// A bitmap font: glyph surfaces for characters 32, 33, ... ended by a null entry.
using Font = SDL_Surface**;

// Size of a tile image and the number of tile images (codes 0..239).
constexpr int kTileSize = 16;
constexpr int kTileImageCount = 240;
// Height of the playfield; the HUD strip lies below it.
constexpr int kPlayfieldHeight = 192;

extern Font smallFont;                 // 8x8 glyphs, from "font"
extern Font bigFont;                   // 16x16 glyphs, from "fontbig"
extern SDL_Surface* dimOverlay;        // 320x192 black, alpha 128
extern SDL_Surface* tileImages[kTileImageCount];
extern SDL_Surface* waterFrames[4][2]; // four phases of the water surface pair 0xA0, 0xA1

// New hardware surface of the screen's format, filled black; keyed adds the colour key flag.
SDL_Surface* CreateSurface(int width, int height, bool keyed);

// Fills a rectangle of surface with a mapped colour.
void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t colour);

// Blits the whole source with its top-left corner at (x, y).
void BlitAt(SDL_Surface* source, int x, int y, SDL_Surface* destination);

// Frees a surface (null is fine).
void FreeSurface(SDL_Surface* surface);
