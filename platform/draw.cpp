// Drawing primitives: surface creation, fills, blits, the dimming overlay, cutting and colour keys.
#include "platform/draw.h"

#include <SDL.h>

#include "platform/display.h"
#include "platform/draw_listener.h"

Font smallFont = nullptr;
Font bigFont = nullptr;
SDL_Surface* dimOverlay = nullptr;
SDL_Surface* recessOverlay = nullptr;
SDL_Surface* recessLintelOverlay = nullptr;
SDL_Surface* tileImages[kTileCodeCount] = {};
SDL_Surface* waterFrames[4][2] = {};

namespace {

// The overlay darkens to half brightness.
constexpr Uint8 kDimAlpha = 128;
// A recess is darker than the back wall round it, yet its texture still shows.
constexpr Uint8 kRecessAlpha = 112;
// Under a lintel the shadow falls off over the top rows of the cell, from the darkest at its top.
constexpr Uint8 kLintelShadow[] = {224, 200, 176, 156, 140, 126};

DrawListener drawListener = nullptr;

// True when the 16-bit surface holds at least one pixel equal to key.
bool Contains16BitPixel(SDL_Surface* surface, Uint32 key)
{
    bool found = false;
    SDL_LockSurface(surface);
    const auto* base = static_cast<const Uint8*>(surface->pixels);
    for (int y = 0; y < surface->h && !found; ++y) {
        const auto* row = reinterpret_cast<const Uint16*>(base + y * surface->pitch);
        for (int x = 0; x < surface->w; ++x) {
            if (row[x] == key) {
                found = true;
                break;
            }
        }
    }
    SDL_UnlockSurface(surface);
    return found;
}

} // namespace

void SetDrawListener(DrawListener listener)
{
    drawListener = listener;
}

void NotifyDraw(const SDL_Surface* destination, const DrawCall& call)
{
    if (drawListener && destination && destination == screenSurface)
        drawListener(call);
}

SDL_Surface* CreateSurface(int width, int height, bool keyed)
{
    const SDL_PixelFormat* f = screenSurface->format;
    Uint32 flags = SDL_HWSURFACE | (keyed ? SDL_SRCCOLORKEY : 0);
    SDL_Surface* s =
        SDL_CreateRGBSurface(flags, width, height, f->BitsPerPixel, f->Rmask, f->Gmask, f->Bmask, f->Amask);
    if (s)
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 0, 0, 0));
    return s;
}

void FillRect(SDL_Surface* surface, int x, int y, int w, int h, uint32_t colour)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    SDL_FillRect(surface, &r, colour);
    NotifyDraw(surface, {"rect", {x, y, w, h, static_cast<int>(colour)}});
}

void BlitAt(SDL_Surface* source, int x, int y, SDL_Surface* destination)
{
    if (!source || !destination)
        return;
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

int SurfaceWidth(const SDL_Surface* surface)
{
    return surface ? surface->w : 0;
}

int SurfaceHeight(const SDL_Surface* surface)
{
    return surface ? surface->h : 0;
}

void CreateDimOverlay()
{
    dimOverlay = CreateSurface(kScreenWidth, kStageHeight, false);
    if (dimOverlay)
        SDL_SetAlpha(dimOverlay, SDL_SRCALPHA, kDimAlpha);
    recessOverlay = CreateSurface(kCellSize, kCellSize, false);
    if (recessOverlay)
        SDL_SetAlpha(recessOverlay, SDL_SRCALPHA, kRecessAlpha);
    // Black with an alpha of its own in every pixel: a row's alpha is its shadow.
    recessLintelOverlay = SDL_CreateRGBSurface(SDL_SWSURFACE | SDL_SRCALPHA, kCellSize, kCellSize, 32, 0x00FF0000,
                                               0x0000FF00, 0x000000FF, 0xFF000000);
    if (recessLintelOverlay) {
        SDL_LockSurface(recessLintelOverlay);
        auto* base = static_cast<Uint8*>(recessLintelOverlay->pixels);
        for (int y = 0; y < kCellSize; ++y) {
            const Uint32 alpha = y < static_cast<int>(sizeof kLintelShadow) ? kLintelShadow[y] : kRecessAlpha;
            auto* row = reinterpret_cast<Uint32*>(base + y * recessLintelOverlay->pitch);
            for (int x = 0; x < kCellSize; ++x)
                row[x] = alpha << 24;
        }
        SDL_UnlockSurface(recessLintelOverlay);
    }
}

void DimScreen()
{
    NotifyDraw(screenSurface, {"dim"});
    BlitAt(dimOverlay, 0, 0, screenSurface);
}

void ShadeCell(SDL_Surface* destination, int x, int y, bool lintel)
{
    NotifyDraw(destination, {"dim", {x, y, kCellSize, kCellSize, lintel ? 1 : 0}});
    if (SDL_Surface* overlay = lintel ? recessLintelOverlay : recessOverlay)
        BlitAt(overlay, x, y, destination);
}

void SetColourKey(SDL_Surface* surface, int r, int g, int b)
{
    SDL_Palette* palette = surface->format->palette;
    if (palette && palette->ncolors > 0) {
        Uint32 index = 0;
        for (int i = 0; i < palette->ncolors; ++i) {
            const SDL_Color& c = palette->colors[i];
            if (c.r == r && c.g == g && c.b == b) {
                index = static_cast<Uint32>(i);
                break;
            }
        }
        SDL_SetColorKey(surface, SDL_SRCCOLORKEY, index);
        return;
    }
    const Uint32 key = SDL_MapRGB(surface->format, static_cast<Uint8>(r), static_cast<Uint8>(g), static_cast<Uint8>(b));
    // An opaque 16-bit image blits faster as a plain copy than with per-pixel key tests.
    if (surface->format->BytesPerPixel == 2 && !Contains16BitPixel(surface, key)) {
        SDL_SetColorKey(surface, 0, 0);
        return;
    }
    SDL_SetColorKey(surface, SDL_SRCCOLORKEY, key);
}

Font CutSheet(SDL_Surface* image, int cellWidth, int cellHeight)
{
    const int columns = cellWidth > 0 ? image->w / cellWidth : 0;
    const int rows = cellHeight > 0 ? image->h / cellHeight : 0;
    Font cells = new SDL_Surface*[columns * rows + 1];
    int n = 0;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < columns; ++column) {
            SDL_Surface* cell = CreateSurface(cellWidth, cellHeight, true);
            SDL_Rect from;
            from.x = static_cast<Sint16>(column * cellWidth);
            from.y = static_cast<Sint16>(row * cellHeight);
            from.w = static_cast<Uint16>(cellWidth);
            from.h = static_cast<Uint16>(cellHeight);
            SDL_Rect to = {0, 0, 0, 0};
            SDL_BlitSurface(image, &from, cell, &to);
            SetColourKey(cell, 255, 0, 255);
            cells[n++] = cell;
        }
    }
    cells[n] = nullptr;
    return cells;
}

void FreeFont(Font& font)
{
    if (!font)
        return;
    for (Font glyph = font; *glyph; ++glyph)
        SDL_FreeSurface(*glyph);
    delete[] font;
    font = nullptr;
}
