// Drawing primitives on SDL surfaces: rectangles, blits, dimming, tiles and bitmap text.
#pragma once

#include <cstdint>

#include "core/geometry.h"

struct SDL_Surface;

// A bitmap font: glyph surfaces for characters 32, 33, ... ended by a null entry.
using Font = SDL_Surface**;

extern Font smallFont;          // 8x8 glyphs, from "font"
extern Font bigFont;            // 16x16 glyphs, from "fontbig"
extern SDL_Surface* dimOverlay; // 320x192 black, alpha 128
extern SDL_Surface* recessOverlay;       // 16x16 black, alpha 112: one cell darkened into a recess
extern SDL_Surface* recessLintelOverlay; // the same, darker towards its top: the shadow under a lintel
extern SDL_Surface* tileImages[kTileCodeCount];
extern SDL_Surface* waterFrames[4][2]; // four phases of the water surface pair 0xA0, 0xA1

// New hardware surface of the screen's format, filled black; keyed adds the colour key flag.
SDL_Surface* CreateSurface(int width, int height, bool keyed);

// Fills a rectangle of surface with a mapped colour.
void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t colour);

// Blits the whole source with its top-left corner at (x, y).
void BlitAt(SDL_Surface* source, int x, int y, SDL_Surface* destination);

// Frees a surface (null is fine).
void FreeSurface(SDL_Surface* surface);

// Width and height of a surface in pixels (0 for null), for code that cannot see SDL.
int SurfaceWidth(const SDL_Surface* surface);
int SurfaceHeight(const SDL_Surface* surface);

// Makes dimOverlay (320x192, screen format, black, per-surface alpha 128) and recessOverlay.
void CreateDimOverlay();

// Darkens the playfield (top 320x192) of screenSurface to half brightness.
void DimScreen();

// Darkens the 16x16 cell at (x, y) of destination a little under half brightness, the shade of
// a recess in a back wall; `lintel` darkens its top rows further, the shadow under a niche's
// top. Nothing happens to the picture before CreateDimOverlay.
void ShadeCell(SDL_Surface* destination, int x, int y, bool lintel);

// Makes (r, g, b) transparent; 16-bit surfaces without that colour get no key at all.
void SetColourKey(SDL_Surface* surface, int r, int g, int b);

// Cuts an image into cells (row-major, partial cells ignored) as keyed surfaces,
// ended by a null entry. The caller frees them with FreeFont.
Font CutSheet(SDL_Surface* image, int cellWidth, int cellHeight);

// Frees every cell surface and the list; sets font to null.
void FreeFont(Font& font);

// Width of glyph 0, the advance per character.
int GlyphWidth(Font font);

// Draws at most n characters of text at (x, y); glyphs wholly left of x 0 are skipped.
void DrawTextN(SDL_Surface* destination, const char* text, int n, int x, int y, Font font);
// Draws the whole text at (x, y).
void DrawText(SDL_Surface* destination, const char* text, int x, int y, Font font);
// Draws the text horizontally centred on the 320-pixel screen at y.
void DrawTextCentred(SDL_Surface* destination, const char* text, int y, Font font);
// Draws value right-aligned in a field of width characters, optionally zero-padded.
void DrawNumber(SDL_Surface* destination, int value, int x, int y, int width, bool leadingZeros, Font font);

// Draws tile image n (0..239, else nothing) with its top-left corner at screen (screenX, y).
void DrawTileAt(int n, int screenX, int y);
// Draws the water-surface image of a phase (0..3) and half (0 for 0xA0, 1 for 0xA1) at screen (screenX, y).
void DrawWaterTile(int phase, int half, int screenX, int y);
// True when a tile drawn at screen (screenX, y) shows at least one pixel on the playfield.
bool InClippedWindow(int screenX, int y);
// Draws tile image n at stage (x, y) for a camera at cameraX when it lies in
// -15..319 x -15..191 on screen.
void DrawTileClipped(int cameraX, int x, int y, int n);
// Draws tile image n at stage (x, y) when cameraX - 16 <= x <= cameraX + 320
// and -15 <= y <= 192 (sprites).
void DrawTileLoose(int cameraX, int x, int y, int n);
