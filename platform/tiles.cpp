// The tile blitters that place 16x16 images at stage coordinates.
#include "platform/draw.h"

#include <SDL.h>

#include "platform/display.h"
#include "platform/draw_listener.h"

void DrawTileAt(int n, int screenX, int y)
{
    if (n < 0 || n >= kTileCodeCount)
        return;
    NotifyDraw(screenSurface, {"tile", {screenX, y, n}});
    BlitAt(tileImages[n], screenX, y, screenSurface);
}

void DrawWaterTile(int phase, int half, int screenX, int y)
{
    NotifyDraw(screenSurface, {"water", {screenX, y, phase, half}});
    BlitAt(waterFrames[phase][half], screenX, y, screenSurface);
}

bool InClippedWindow(int screenX, int y)
{
    return screenX >= -(kCellSize - 1) && screenX <= kScreenWidth - 1 && y >= -(kCellSize - 1) && y <= kStageHeight - 1;
}

void DrawTileClipped(int cameraX, int x, int y, int n)
{
    const int screenX = x - cameraX;
    if (InClippedWindow(screenX, y))
        DrawTileAt(n, screenX, y);
}

void DrawTileLoose(int cameraX, int x, int y, int n)
{
    // Sprites may reach one pixel further right and down than grid tiles.
    if (x >= cameraX - kCellSize && x <= cameraX + kScreenWidth && y >= -(kCellSize - 1) && y <= kStageHeight)
        DrawTileAt(n, x - cameraX, y);
}
