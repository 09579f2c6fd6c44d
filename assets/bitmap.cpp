// LoadBitmap: archive entry to decoded, converted surface, with the two fatal paths.
#include "assets/bitmap.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/fatal_error.h"
#include "assets/archive.h"
#include "platform/display.h"
#include "platform/draw.h"

namespace {

// Where an undecodable picture is left for inspection.
constexpr const char* kDumpFile = "fuu.xxx";

void DumpUndecodable(const uint8_t* data, size_t size)
{
    if (FILE* f = std::fopen(kDumpFile, "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
}

} // namespace

SDL_Surface* LoadBitmap(const char* name, bool keyed, int r, int g, int b)
{
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(ArchiveGfx, name, "bmp", &size);
    if (!data)
        FatalError("Error loading gfx file", name);

    SDL_RWops* stream = SDL_RWFromMem(data, static_cast<int>(size));
    SDL_Surface* image = stream ? SDL_LoadBMP_RW(stream, 0) : nullptr;
    if (!image) {
        DumpUndecodable(data, size);
        FatalError("Unable to load bitmap", SDL_GetError());
    }

    Uint32 flags = SDL_HWSURFACE;
    if (keyed) {
        SetColourKey(image, r, g, b);
        flags |= SDL_SRCCOLORKEY;
    } else {
        SDL_SetColorKey(image, 0, 0);
    }
    SDL_Surface* result = SDL_ConvertSurface(image, screenSurface->format, flags);
    if (!result)
        FatalError("Unable to load bitmap", SDL_GetError());

    SDL_FreeSurface(image);
    SDL_FreeRW(stream);
    std::free(data);
    return result;
}
