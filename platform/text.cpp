// Bitmap text: strings and right-aligned numbers drawn glyph by glyph.
#include "platform/draw.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/display.h"
#include "platform/draw_listener.h"

namespace {

// Characters start at the space; glyph i shows character kFirstGlyphChar + i.
constexpr int kFirstGlyphChar = 32;

// Enough for "%d" of any int and its terminator.
constexpr int kNumberBufferSize = 16;
char numberBuffer[kNumberBufferSize];

// The zero padding of DrawNumber: at most eight zeros are ever drawn.
constexpr const char* kZeros = "00000000";

int GlyphCount(Font font)
{
    int n = 0;
    while (font[n])
        ++n;
    return n;
}

} // namespace

int GlyphWidth(Font font)
{
    return font && font[0] ? font[0]->w : 0;
}

void DrawTextN(SDL_Surface* destination, const char* text, int n, int x, int y, Font font)
{
    NotifyDraw(destination, {"text", {x, y, n, GlyphWidth(font)}, text});
    if (!font || !font[0])
        return;
    const int w = GlyphWidth(font);
    const int h = font[0]->h;
    const int glyphs = GlyphCount(font);
    for (int i = 0; i < n && text[i]; ++i, x += w) {
        const int glyph = static_cast<unsigned char>(text[i]) - kFirstGlyphChar;
        // Past the right edge nothing more can show, and SDL's 16-bit rectangle would wrap x.
        if (x >= destination->w)
            break;
        // Characters the font does not hold take their place but show nothing.
        if (glyph < 0 || glyph >= glyphs || x <= -w)
            continue;
        SDL_Rect from = {0, 0, static_cast<Uint16>(w), static_cast<Uint16>(h)};
        SDL_Rect to = {static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        SDL_BlitSurface(font[glyph], &from, destination, &to);
    }
}

void DrawText(SDL_Surface* destination, const char* text, int x, int y, Font font)
{
    DrawTextN(destination, text, static_cast<int>(std::strlen(text)), x, y, font);
}

void DrawTextCentred(SDL_Surface* destination, const char* text, int y, Font font)
{
    const int length = static_cast<int>(std::strlen(text));
    // The half width is rounded down before it is multiplied.
    const int x = kScreenWidth / 2 - (GlyphWidth(font) / 2) * length;
    DrawTextN(destination, text, length, x, y, font);
}

void DrawNumber(SDL_Surface* destination, int value, int x, int y, int width, bool leadingZeros, Font font)
{
    std::snprintf(numberBuffer, sizeof numberBuffer, "%d", value);
    const int length = static_cast<int>(std::strlen(numberBuffer));
    if (leadingZeros && length < width)
        DrawTextN(destination, kZeros, width - length, x, y, font);
    // Negative when the number is longer than its field: it then sticks out to the left.
    const int shift = width >= 1 ? width - length : 0;
    DrawTextN(destination, numberBuffer, length, x + GlyphWidth(font) * shift, y, font);
}
