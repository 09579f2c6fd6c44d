// Loading BMP pictures from the gfx archive into surfaces of the screen's format.
#pragma once

struct SDL_Surface;

// Decodes gfx entry "name.bmp" and converts it to the format of screenSurface;
// keyed makes (r, g, b) transparent, otherwise the image has no colour key.
// Never returns without a surface: a missing entry ends the process with
// "Error loading gfx file: NAME"; undecodable bytes are written to "fuu.xxx"
// in the working directory, then "Unable to load bitmap: <SDL error>".
SDL_Surface* LoadBitmap(const char* name, bool keyed, int r = 255, int g = 0, int b = 255);
