// Hearing what is drawn into the logical screen: replays digest the picture from these calls.
// Tiles, texts, rectangles and dimming are heard; whole pictures (the background,
// the logo) are not, so new artwork of another size leaves the digests alone.
#pragma once

struct SDL_Surface;

// One drawing operation on screenSurface.
struct DrawCall {
    const char* what = "";      // "rect", "dim", "tile", "water" or "text"
    int v[5] = {};              // its numbers, the position first
    const char* text = nullptr; // "text": the characters, v[2] of them
};

using DrawListener = void (*)(const DrawCall& call);

// Makes listener hear of every later drawing into screenSurface; null for none.
void SetDrawListener(DrawListener listener);

// Tells the listener of call when destination is screenSurface (for the drawing functions).
void NotifyDraw(const SDL_Surface* destination, const DrawCall& call);
