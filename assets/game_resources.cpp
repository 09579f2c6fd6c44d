// Cutting the tile sheet into tile images and building the animated water surface.
#include "assets/game_resources.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>

#include "app/fatal_error.h"
#include "assets/bitmap.h"
#include "audio/sound_effects.h"
#include "game/game_state.h"
#include "platform/draw.h"
#include "platform/input.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

constexpr int kSheetColumns = kTileSheetWidth / kTileSize;
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
    for (int i = 0; i < kTileImageCount; ++i) {
        SDL_Surface* tile = CreateSurface(kTileSize, kTileSize, true);
        CopyRect(sheet, (i % kSheetColumns) * kTileSize, (i / kSheetColumns) * kTileSize, kTileSize, kTileSize, tile,
                 0);
        SetColourKey(tile, 255, 0, 255);
        tileImages[i] = tile;
    }
}

void MakeWaterPair(SDL_Surface* sheet, int r, SDL_Surface* pair[2])
{
    SDL_Surface* a = CreateSurface(kTileSize, kTileSize, true);
    SDL_Surface* b = CreateSurface(kTileSize, kTileSize, true);
    CopyRect(sheet, r, kWaterStripY, kTileSize, kTileSize, a, 0);
    CopyRect(sheet, r + kTileSize, kWaterStripY, kTileSize - r, kTileSize, b, 0);
    CopyRect(sheet, 0, kWaterStripY, r, kTileSize, b, kTileSize - r);
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

void LoadGameResources()
{
    playerControls = PlayerControls{};
    game.quitPending = 0;
    game.paused = 0;
    world.cameraX = 0;
    world.ringsLeft = 0;
    levelMap = LevelMap{}; // no stage until the session loads one
    world.runRightLatch = 0;
    world.runLeftLatch = 0;
    world.pushCounter = 0;
    ClearTileEffects();
    ClearActors();
    ResetGame(-1);

    LoadTileImages();
    LoadSoundEffects();
    game.continueStage = 0;
}
