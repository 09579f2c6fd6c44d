// Video mode set-up and presentation of the logical screen.
#include "platform/display.h"

#include <SDL.h>

#include <cstring>

#include "app/fatal_error.h"
#include "platform/scalers.h"

SDL_Surface* screenSurface = nullptr;
SDL_Surface* displaySurface = nullptr;
DisplayConfig displayConfig;

namespace {

bool Doubled()
{
    return displayConfig.zoom || displayConfig.fullscreen;
}

} // namespace

void OpenDisplay(const DisplayConfig& config)
{
    displayConfig = config;
    if (!Doubled()) {
        screenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, config.depth, 0);
        if (!screenSurface)
            FatalError("Unable to set video mode", SDL_GetError());
        return;
    }
    Uint32 flags = SDL_HWSURFACE | (config.fullscreen ? SDL_FULLSCREEN : 0);
    displaySurface = SDL_SetVideoMode(2 * kScreenWidth, 2 * kScreenHeight, config.depth, flags);
    if (!displaySurface)
        FatalError("Unable to set video mode", SDL_GetError());
    const SDL_PixelFormat* f = displaySurface->format;
    screenSurface = SDL_CreateRGBSurface(SDL_SWSURFACE, kScreenWidth, kScreenHeight, f->BitsPerPixel, f->Rmask,
                                         f->Gmask, f->Bmask, f->Amask);
    if (!screenSurface)
        FatalError("Unable to set video mode", SDL_GetError());
}

void PresentScreen()
{
    if (!displaySurface) {
        SDL_UpdateRect(screenSurface, 0, 0, 0, 0);
        return;
    }
    SDL_LockSurface(displaySurface);
    SDL_LockSurface(screenSurface);
    ScalePlain(static_cast<const uint8_t*>(screenSurface->pixels), screenSurface->pitch,
               static_cast<uint8_t*>(displaySurface->pixels), displaySurface->pitch,
               screenSurface->format->BytesPerPixel);
    SDL_UnlockSurface(screenSurface);
    SDL_UnlockSurface(displaySurface);
    SDL_UpdateRect(displaySurface, 0, 0, 0, 0);
}

void CloseDisplay()
{
}
