// The tile blitters that place 16x16 images at stage coordinates.
#include "platform/draw.h"

#include <SDL.h>

#include "platform/display.h"

namespace {

void DrawImage(int n, int screenX, int y)
{
    if (n < 0 || n >= kTileCodeCount)
        return;
    BlitAt(tileImages[n], screenX, y, screenSurface);
}

} // namespace

bool InClippedWindow(int screenX, int y)
{
    return screenX >= -(kCellSize - 1) && screenX <= kScreenWidth - 1 && y >= -(kCellSize - 1) &&
           y <= kStageHeight - 1;
}

void DrawTileClipped(int cameraX, int x, int y, int n)
{
    const int screenX = x - cameraX;
    if (InClippedWindow(screenX, y))
        DrawImage(n, screenX, y);
}

void DrawTileLoose(int cameraX, int x, int y, int n)
{
    // Sprites may reach one pixel further right and down than grid tiles.
    if (x >= cameraX - kCellSize && x <= cameraX + kScreenWidth && y >= -(kCellSize - 1) && y <= kStageHeight)
        DrawImage(n, x - cameraX, y);
}
