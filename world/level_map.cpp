// The stage grid: both grids, the two per-code tables and the bounds-checked accessors.
#include "world/level_map.h"

#include <algorithm>

namespace {

constexpr TileKind E = Empty;
constexpr TileKind S = Solid;
constexpr TileKind H = Hazard;
constexpr TileKind P = Pushable;

// Index of cell (column, row) when it lies inside the grid, else -1.
int CellIndex(int column, int row)
{
    if (row < 0 || row >= kRows || column < 0 || column >= levelMap.columns)
        return -1;
    return column * kRows + row;
}

// Width of the stage in pixels (at most 65536 columns, so it fits easily).
int StageWidth()
{
    return levelMap.columns * kCellSize;
}

} // namespace

// One row of 16 codes per line.
const TileKind kTileAttributes[kTileCodeCount] = {
    E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, // 0x00
    E, E, E, E, S, S, S, S, E, P, E, E, E, E, E, E, // 0x10
    E, E, E, E, E, E, E, E, S, E, E, S, S, E, E, E, // 0x20
    E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, S, // 0x30
    S, E, S, E, E, S, E, E, E, E, E, E, E, S, S, S, // 0x40
    S, E, E, E, E, E, E, H, E, E, E, E, S, S, E, S, // 0x50
    S, E, E, E, S, E, E, E, E, H, E, E, E, E, S, S, // 0x60
    S, S, E, S, S, E, E, E, S, E, E, E, E, E, E, E, // 0x70
    E, E, S, S, S, S, S, S, S, E, E, E, H, E, E, E, // 0x80
    E, E, E, E, E, E, S, S, S, S, S, E, E, E, E, E, // 0x90
    E, E, E, E, E, E, E, E, E, E, S, S, S, E, E, E, // 0xA0
    E, E, E, E, S, S, E, E, E, E, E, E, E, E, E, E, // 0xB0
    E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, // 0xC0
    E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, // 0xD0
    E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, E, // 0xE0
};

// One row of 16 codes per line: 1 drawn over the sprites (foliage, pipes, water fronts).
const uint8_t kTileLayer[kTileCodeCount] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0x00
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0x10
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0x20
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0x30
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0x40
    0, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, // 0x50
    0, 1, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1, 1, 1, 0, 0, // 0x60
    0, 0, 1, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 1, // 0x70
    1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0x80
    0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, // 0x90
    0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 1, // 0xA0
    1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0xB0
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0xC0
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0xD0
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, // 0xE0
};

void ResetLevelMap(int columns)
{
    levelMap.columns = std::max(columns, 1);
    const size_t cells = static_cast<size_t>(levelMap.columns) * kRows;
    levelMap.live.assign(cells, tile::None);
    levelMap.restore.assign(cells, tile::None);
}

void FreeLevelMap()
{
    levelMap = LevelMap{};
}

TileCode TileAt(int column, int row)
{
    const int i = CellIndex(column, row);
    return i < 0 ? tile::None : levelMap.live[i];
}

TileCode TileAtPixel(int x, int y)
{
    if (x < 0 || y < 0 || x >= StageWidth() || y >= kStageHeight)
        return tile::None;
    return TileAt(x >> kCellShift, y >> kCellShift);
}

void SetTile(int column, int row, TileCode code)
{
    const int i = CellIndex(column, row);
    if (i < 0)
        return;
    levelMap.live[i] = code;
    // A block or a busy cell is only passing through: the restore grid keeps
    // what lies underneath it.
    if (code != BusyCell && code != tile::PushBlock)
        levelMap.restore[i] = code;
}

TileCode RestoreAt(int column, int row)
{
    const int i = CellIndex(column, row);
    return i < 0 ? tile::None : levelMap.restore[i];
}

void SetRestore(int column, int row, TileCode code)
{
    const int i = CellIndex(column, row);
    if (i >= 0)
        levelMap.restore[i] = code;
}

void SetLiveOnly(int column, int row, TileCode code)
{
    const int i = CellIndex(column, row);
    if (i >= 0)
        levelMap.live[i] = code;
}

TileKind KindOf(TileCode code)
{
    return code >= BusyCell ? Solid : kTileAttributes[code];
}

int IsSolidAt(int x, int y)
{
    if (x < 0 || x >= StageWidth())
        return 1; // walls left and right of the stage
    if (y < 0)
        y = 0; // the top row reaches up for ever
    if (y >= kStageHeight)
        return 0; // nothing holds below the stage
    const TileKind kind = KindOf(TileAtPixel(x, y));
    return kind == Solid || kind == Pushable;
}

int IsPushableAt(int x, int y)
{
    const TileCode code = TileAtPixel(x, y);
    return code < BusyCell && kTileAttributes[code] == Pushable;
}

TileCode HazardAt(int x, int y)
{
    const TileCode code = TileAtPixel(x, y);
    return (code < BusyCell && kTileAttributes[code] == Hazard) ? code : tile::None;
}
