// Screenshots and pixel read-back of surfaces, for tests, the replay tool and look checks.
#include "platform/screenshot.h"

#include <SDL.h>

#include <cstring>

#include "platform/display.h"

bool SaveScreenshot(const char* path)
{
    return screenSurface && SDL_SaveBMP(screenSurface, path) == 0;
}

bool ReadSurfacePixel(SDL_Surface* surface, int x, int y, uint8_t* r, uint8_t* g, uint8_t* b)
{
    if (!surface || x < 0 || y < 0 || x >= surface->w || y >= surface->h)
        return false;
    SDL_LockSurface(surface);
    const int bpp = surface->format->BytesPerPixel;
    const auto* p = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch + x * bpp;
    Uint32 pixel = 0;
    switch (bpp) {
    case 1:
        pixel = *p;
        break;
    case 2: {
        Uint16 v;
        std::memcpy(&v, p, sizeof v);
        pixel = v;
        break;
    }
    case 3:
        // Three bytes in the surface's byte order.
        if (SDL_BYTEORDER == SDL_BIG_ENDIAN)
            pixel = (Uint32(p[0]) << 16) | (Uint32(p[1]) << 8) | p[2];
        else
            pixel = Uint32(p[0]) | (Uint32(p[1]) << 8) | (Uint32(p[2]) << 16);
        break;
    default:
        std::memcpy(&pixel, p, sizeof pixel);
        break;
    }
    SDL_UnlockSurface(surface);
    SDL_GetRGB(pixel, surface->format, r, g, b);
    return true;
}

bool ReadScreenPixel(int x, int y, uint8_t* r, uint8_t* g, uint8_t* b)
{
    return ReadSurfacePixel(screenSurface, x, y, r, g, b);
}
