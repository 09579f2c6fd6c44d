// Drawing primitives.
#include "platform/draw.h"

#include <SDL.h>

Font smallFont = nullptr;
Font bigFont = nullptr;
SDL_Surface* dimOverlay = nullptr;
SDL_Surface* tileImages[kTileImageCount] = {};
SDL_Surface* waterFrames[4][2] = {};

void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t colour)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    SDL_FillRect(surface, &r, colour);
}

void BlitAt(SDL_Surface* source, int x, int y, SDL_Surface* destination)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    SDL_BlitSurface(source, nullptr, destination, &r);
}

void FreeSurface(SDL_Surface* surface)
{
    if (surface)
        SDL_FreeSurface(surface);
}
