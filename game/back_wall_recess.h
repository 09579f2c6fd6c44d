// Which back wall shows, darkened, behind a cell under a ceiling, so that openings and emptied item cells read as recesses.
#pragma once

#include "world/tile_codes.h"

// The plain back wall (castle 0x2D, cave 0x2E, temple 0x31, ice 0x32) a code is painted on:
// the wall itself, one of its four edge pieces or a decoration on it; tile::None for any other code.
TileCode BackWallOf(TileCode code);

// The back wall to draw darkened behind cell (column, row) of a column-major grid of `columns`
// columns of kRows cells, or tile::None where the night sky belongs. A cell gets one when its
// column's top row is solid (the cell is under a ceiling), it is no back-wall piece itself, and a
// back-wall piece lies within four cells along its row or, failing that, its column; the nearest
// one wins (left before right, above before below). Cells outside the grid get none.
TileCode RecessWallAt(const TileCode* cells, int columns, int column, int row);
