// Reading back what was drawn: the logical screen as a BMP file, single pixels as RGB.
#pragma once

#include <cstdint>

struct SDL_Surface;

// Writes screenSurface to path as a BMP; false when it cannot be written.
bool SaveScreenshot(const char* path);

// The colour of pixel (x, y) of surface as 8-bit r, g, b; false (and nothing
// written) outside the surface.
bool ReadSurfacePixel(SDL_Surface* surface, int x, int y, uint8_t* r, uint8_t* g, uint8_t* b);

// ReadSurfacePixel on screenSurface.
bool ReadScreenPixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b);
