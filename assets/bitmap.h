// Loading BMP pictures from the gfx archive into surfaces of the screen's format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct SDL_Surface;

// Says in words what is wrong with the size or depth a BMP header declares
// (more than 4096x4096 pixels, none, an unknown depth or header); empty when SDL
// may decode the picture. Bytes that are no BMP at all are left for SDL to refuse.
std::string BitmapHeaderProblem(const uint8_t* data, size_t size);

// Decodes BMP bytes that passed BitmapHeaderProblem into a new surface of the
// screen's format, keyed as LoadBitmap says; null when SDL cannot decode or
// convert them (SDL_GetError says why).
SDL_Surface* DecodeBitmap(const uint8_t* data, size_t size, bool keyed, int r = 255, int g = 0, int b = 255);

// Decodes gfx entry "name.bmp" and converts it to the format of screenSurface;
// keyed makes (r, g, b) transparent, otherwise the image has no colour key.
// Never returns without a surface: a missing entry ends the process with
// "Error loading gfx file: NAME"; undecodable bytes are written to "fuu.xxx"
// in the working directory, then "Unable to load bitmap: <SDL error>" (or the
// header's problem after the name, for a picture refused before decoding).
SDL_Surface* LoadBitmap(const char* name, bool keyed, int r = 255, int g = 0, int b = 255);
