// The tile blitters that place 16x16 images at stage coordinates, and the grid layer drawer.
#include "platform/draw.h"

#include <SDL.h>

#include "platform/display.h"

namespace {

constexpr int kGridRows = 12;
// One column more than fits the 320-pixel view, for a camera between cells.
constexpr int kDrawnColumns = 21;
// Codes from here up are not images (busy cells of moving blocks).
constexpr uint32_t kFirstNonImageCode = 0xF0;
constexpr uint32_t kWaterSurfaceA = 0xA0;
constexpr uint32_t kWaterSurfaceB = 0xA1;
// The explosive tile cycles through three images from 0xDC.
constexpr uint32_t kExplosiveCode = 0x8C;
constexpr int kExplosiveFirstImage = 0xDC;
constexpr int kExplosiveImages = 3;
// Animations advance every eight frames.
constexpr int kFramesPerStep = 8;
constexpr int kWaterPhases = 4;

// Inside the window of DrawTileClipped: at least one pixel on the playfield.
bool InClippedWindow(int screenX, int y)
{
    return screenX >= -(kTileSize - 1) && screenX <= kScreenWidth - 1 && y >= -(kTileSize - 1) &&
           y <= kPlayfieldHeight - 1;
}

void DrawImage(int n, int screenX, int y)
{
    if (n < 0 || n >= kTileImageCount)
        return;
    BlitAt(tileImages[n], screenX, y, screenSurface);
}

// Animation step of a frame counter, never negative.
int Step(int frame, int steps)
{
    const int s = (frame / kFramesPerStep) % steps;
    return s < 0 ? s + steps : s;
}

} // namespace

void DrawTileClipped(int cameraX, int x, int y, int n)
{
    const int screenX = x - cameraX;
    if (InClippedWindow(screenX, y))
        DrawImage(n, screenX, y);
}

void DrawTileLoose(int cameraX, int x, int y, int n)
{
    // Sprites may reach one pixel further right and down than grid tiles.
    if (x >= cameraX - kTileSize && x <= cameraX + kScreenWidth && y >= -(kTileSize - 1) && y <= kPlayfieldHeight)
        DrawImage(n, x - cameraX, y);
}

void DrawTileLayer(const GridView& grid, int cameraX, int frame, int layer)
{
    if (!grid.cells || !grid.layerOf)
        return;
    const int firstColumn = cameraX >> 4; // rounds down, also left of the stage
    for (int c = 0; c < kDrawnColumns; ++c) {
        const int column = firstColumn + c;
        if (column < 0 || column >= grid.columns)
            continue;
        const int x = column * kTileSize;
        for (int row = 0; row < kGridRows; ++row) {
            const uint32_t code = grid.cells[column * kGridRows + row];
            if (code == 0 || code >= kFirstNonImageCode || grid.layerOf[code] != layer)
                continue;
            const int y = row * kTileSize;
            if (code == kWaterSurfaceA || code == kWaterSurfaceB) {
                if (InClippedWindow(x - cameraX, y))
                    BlitAt(waterFrames[Step(frame, kWaterPhases)][code - kWaterSurfaceA], x - cameraX, y,
                           screenSurface);
            } else if (code == kExplosiveCode) {
                DrawTileClipped(cameraX, x, y, kExplosiveFirstImage + Step(frame, kExplosiveImages));
            } else {
                DrawTileClipped(cameraX, x, y, static_cast<int>(code));
            }
        }
    }
}
