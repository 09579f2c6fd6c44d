// Mapping of the screen colours.
#include "platform/colors.h"

#include <SDL.h>

#include "platform/display.h"

uint32_t ColorBlack = 0;
uint32_t ColorRed = 0;
uint32_t ColorDarkRed = 0;
uint32_t ColorBlue = 0;
uint32_t ColorDarkBlue = 0;

void MapColors()
{
    const SDL_PixelFormat* f = screenSurface->format;
    ColorBlack = SDL_MapRGB(f, 0, 0, 0);
    ColorRed = SDL_MapRGB(f, 255, 0, 0);
    ColorDarkRed = SDL_MapRGB(f, 128, 0, 0);
    ColorBlue = SDL_MapRGB(f, 0, 0, 255);
    ColorDarkBlue = SDL_MapRGB(f, 0, 0, 128);
}
