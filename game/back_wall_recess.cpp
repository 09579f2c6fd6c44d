// Finding the back wall behind a cell under a ceiling.
#include "game/back_wall_recess.h"

#include "world/level_map.h"

namespace {

// How far along a row or a column a cell looks for the wall it is set in, in cells: far enough
// to fill a three-cell window from its frame, short enough that an overhang in the open air,
// away from any wall, keeps the sky.
constexpr int kRecessReach = 4;

struct WallPiece {
    TileCode code;
    TileCode wall;
};

// Every back-wall piece of the tile set and the plain wall it is drawn on.
constexpr WallPiece kWallPieces[] = {
    {0x2D, 0x2D}, {0x48, 0x2D}, {0x49, 0x2D}, {0x4A, 0x2D}, {0x4B, 0x2D}, // castle and its edges
    {0x9E, 0x2D}, {0xA9, 0x2D}, {0x8B, 0x2D}, {0xEF, 0x2D},               // torch, window, chain, cobweb
    {0x2E, 0x2E}, {0xD8, 0x2E}, {0xD9, 0x2E}, {0xDA, 0x2E}, {0xDB, 0x2E}, // cave and its edges
    {0xAD, 0x2E}, {0xAE, 0x2E}, {0x4C, 0x2E}, {0x5A, 0x2E}, {0x5B, 0x2E}, // mushrooms, vine, crystals, roots, bones
    {0x31, 0x31}, {0xE7, 0x31}, {0xE8, 0x31}, {0xE9, 0x31}, {0xEA, 0x31}, // temple and its edges
    {0x9F, 0x31}, {0xB2, 0x31},                                           // torch, vine
    {0x32, 0x32}, {0xEB, 0x32}, {0xEC, 0x32}, {0xED, 0x32}, {0xEE, 0x32}, // ice and its edges
    {0xB3, 0x32},                                                         // window
};

TileCode CellOf(const TileCode* cells, int columns, int column, int row)
{
    if (column < 0 || column >= columns || row < 0 || row >= kRows)
        return tile::None;
    return cells[column * kRows + row];
}

bool BlocksAsCeiling(TileCode code)
{
    const TileKind kind = KindOf(code);
    return kind == Solid || kind == Pushable;
}

} // namespace

TileCode BackWallOf(TileCode code)
{
    for (const WallPiece& piece : kWallPieces) {
        if (piece.code == code)
            return piece.wall;
    }
    return tile::None;
}

TileCode RecessWallAt(const TileCode* cells, int columns, int column, int row)
{
    if (column < 0 || column >= columns || row < 0 || row >= kRows)
        return tile::None;
    if (!BlocksAsCeiling(CellOf(cells, columns, column, 0)) || BackWallOf(CellOf(cells, columns, column, row)) != tile::None)
        return tile::None;
    // Along the row first: a window or an alcove is framed by the wall beside it.
    for (int d = 1; d <= kRecessReach; ++d) {
        if (TileCode wall = BackWallOf(CellOf(cells, columns, column - d, row)))
            return wall;
        if (TileCode wall = BackWallOf(CellOf(cells, columns, column + d, row)))
            return wall;
    }
    for (int d = 1; d <= kRecessReach; ++d) {
        if (TileCode wall = BackWallOf(CellOf(cells, columns, column, row - d)))
            return wall;
        if (TileCode wall = BackWallOf(CellOf(cells, columns, column, row + d)))
            return wall;
    }
    return tile::None;
}
