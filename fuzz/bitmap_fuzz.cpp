// Fuzz target: any bytes as a picture entry, through the header check, SDL's BMP decoder and the
// conversion to the screen's format, as the picture loader does it.
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "assets/bitmap.h"
#include "platform/display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool ready = [] {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        SDL_Init(SDL_INIT_VIDEO);
        screenSurface = SDL_SetVideoMode(320, 240, 16, 0);
        return screenSurface != nullptr;
    }();
    if (!ready || !BitmapHeaderProblem(data, size).empty())
        return 0;
    if (SDL_Surface* s = DecodeBitmap(data, size, size % 2 == 0))
        SDL_FreeSurface(s);
    return 0;
}
