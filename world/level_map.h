// The stage grid (live and restore), the per-code tables and the grid accessors.
#pragma once

#include <cstdint>
#include <vector>

#include "world/tile_codes.h"

// N columns x 12 rows, column-major: cell (c, r) is element c * 12 + r.
struct LevelMap {
    int columns = 0;
    std::vector<TileCode> live;    // the current stage; read by every test and the renderer
    std::vector<TileCode> restore; // what lies underneath movable blocks
};

// The stage grid of the running attempt (part of the play record), rebuilt for every attempt.
extern LevelMap& levelMap;

// Collision kind of each code 0..239.
extern const TileKind kTileAttributes[kTileCodeCount];
// Draw layer of each code 0..239: 1 in front of sprites, 0 behind.
extern const uint8_t kTileLayer[kTileCodeCount];

// Replaces both grids with `columns` empty columns (at least 1).
void ResetLevelMap(int columns);

// Releases both grids (shutdown); the stage then has no columns until the next load.
void FreeLevelMap();

// True when stage pixel coordinate v is the first of a cell (one axis).
inline bool IsGridAligned(int v)
{
    return (v & (kCellSize - 1)) == 0;
}
// Stage pixel coordinate of the first pixel of the cell holding v (one axis).
inline int CellStart(int v)
{
    return v & ~(kCellSize - 1);
}

// Live code of a cell; 0 outside the grid.
TileCode TileAt(int column, int row);
// Live code of the cell holding pixel (x, y); 0 outside the grid.
TileCode TileAtPixel(int x, int y);
// Writes the live cell and, unless code is a pushable block or BusyCell, the restore cell.
// Nothing happens outside the grid.
void SetTile(int column, int row, TileCode code);
// Restore-grid code of a cell; 0 outside the grid.
TileCode RestoreAt(int column, int row);
// Writes the restore cell only; nothing outside the grid.
void SetRestore(int column, int row, TileCode code);
// Writes the live cell only; nothing outside the grid (the exit door opening).
void SetLiveOnly(int column, int row, TileCode code);

// 1 if the point is blocked: walls left and right of the stage, nothing below it.
int IsSolidAt(int x, int y);
// 1 if the point lies in a pushable-block cell.
int IsPushableAt(int x, int y);
// The cell's code if it is a hazard, else 0.
TileCode HazardAt(int x, int y);
// Kind of a code: codes of BusyCell and above count as Solid.
TileKind KindOf(TileCode code);
