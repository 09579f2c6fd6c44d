// Loading and freeing the bitmap fonts.
#include "assets/fonts.h"

#include <SDL.h>

#include <cstdio>

#include "assets/bitmap.h"
#include "core/fatal_error.h"

Font LoadFont(const char* name, int cellWidth, int cellHeight)
{
    SDL_Surface* image = LoadBitmap(name, false);
    // Without a whole cell the font has no glyph 0, whose size every glyph draw uses.
    if (image->w < cellWidth || image->h < cellHeight) {
        static char detail[96];
        std::snprintf(detail, sizeof detail, "%s (font image is %dx%d, smaller than one %dx%d cell)", name, image->w,
                      image->h, cellWidth, cellHeight);
        FatalError("Error loading gfx file", detail);
    }
    Font font = CutSheet(image, cellWidth, cellHeight);
    FreeSurface(image);
    return font;
}

void LoadFonts()
{
    smallFont = LoadFont("font", kSmallFontCell, kSmallFontCell);
    bigFont = LoadFont("fontbig", kBigFontCell, kBigFontCell);
}

void FreeFonts()
{
    FreeFont(smallFont);
    FreeFont(bigFont);
}
