// Cutting the tile sheet into tile images and building the animated water surface.
#include "assets/tile_images.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "assets/bitmap.h"
#include "core/fatal_error.h"
#include "platform/draw.h"

namespace {

constexpr int kWaterPairs = 4;

// Copies the sheet rectangle (x, y, w, h) into target at (toX, 0).
void CopyRect(SDL_Surface* sheet, int x, int y, int w, int h, SDL_Surface* target, int toX)
{
    if (w <= 0)
        return;
    SDL_Rect from = {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w), static_cast<Uint16>(h)};
    SDL_Rect to = {static_cast<Sint16>(toX), 0, 0, 0};
    SDL_BlitSurface(sheet, &from, target, &to);
}

} // namespace

void CutTileImages(SDL_Surface* sheet)
{
    for (int i = 0; i < kTileCodeCount; ++i) {
        SDL_Surface* tile = CreateSurface(kCellSize, kCellSize, true);
        CopyRect(sheet, (i % kTileSheetColumns) * kCellSize, (i / kTileSheetColumns) * kCellSize, kCellSize, kCellSize,
                 tile, 0);
        SetColourKey(tile, 255, 0, 255);
        tileImages[i] = tile;
    }
}

void MakeWaterPair(SDL_Surface* sheet, int r, SDL_Surface* pair[2])
{
    SDL_Surface* a = CreateSurface(kCellSize, kCellSize, true);
    SDL_Surface* b = CreateSurface(kCellSize, kCellSize, true);
    CopyRect(sheet, r, kWaterStripY, kCellSize, kCellSize, a, 0);
    CopyRect(sheet, r + kCellSize, kWaterStripY, kCellSize - r, kCellSize, b, 0);
    CopyRect(sheet, 0, kWaterStripY, r, kCellSize, b, kCellSize - r);
    SetColourKey(a, 255, 0, 255);
    SetColourKey(b, 255, 0, 255);
    pair[0] = a;
    pair[1] = b;
}

void LoadTileImages()
{
    SDL_Surface* sheet = LoadBitmap("blocks", false);
    // Cutting a smaller sheet would read outside it.
    if (sheet->w < kTileSheetWidth || sheet->h < kTileSheetHeight) {
        static char detail[96];
        std::snprintf(detail, sizeof detail, "blocks (tile sheet is %dx%d, needs at least %dx%d)", sheet->w, sheet->h,
                      kTileSheetWidth, kTileSheetHeight);
        FatalError("Error loading gfx file", detail);
    }
    CutTileImages(sheet);
    for (int i = 0; i < kWaterPairs; ++i)
        MakeWaterPair(sheet, std::rand() % kWaterOffsets, waterFrames[i]);
    FreeSurface(sheet);
}

void FreeTileImages()
{
    for (SDL_Surface*& tile : tileImages) {
        FreeSurface(tile);
        tile = nullptr;
    }
    for (auto& pair : waterFrames) {
        for (SDL_Surface*& frame : pair) {
            FreeSurface(frame);
            frame = nullptr;
        }
    }
}
