// Which openings under a ceiling show their back wall darkened into a recess instead of the night sky.
#pragma once

#include <vector>

#include "world/tile_codes.h"

// Most cells an opening may have and still be drawn as a recess: sockets, niches and alcoves are
// smaller; a window as large as a valley or a hall's open side keeps the sky.
constexpr int kMaxRecessCells = 40;

// The plain back wall (castle 0x2D, cave 0x2E, temple 0x31, ice 0x32) a code is painted on:
// the wall itself, one of its four edge pieces or a decoration on it; tile::None for any other code.
TileCode BackWallOf(TileCode code);

// Fills walls (resized to the grid) with the back wall to draw darkened behind each cell of a
// column-major grid of `columns` columns of kRows cells, tile::None where the background shows.
// An opening is a stretch of cells, joined side to side, that are neither solid nor pushable nor
// back-wall pieces. An opening that lies wholly under a ceiling (in columns whose top row is
// solid), has at most kMaxRecessCells cells and borders a back-wall piece is a recess: all its
// cells get the plain wall that borders it most often (on a tie the lowest code). A solid or
// pushable cell under a ceiling that is no back-wall piece gets, for whatever of it is
// see-through, the wall of the first side (above, below, left, then right) that is a recess
// or a back-wall piece.
void FindRecesses(const TileCode* cells, int columns, std::vector<TileCode>& walls);

// True when cell (column, row) is an opening cell of a recess found by FindRecesses (walls as it
// filled them) whose top is closed: the stage's top or anything but more of the recess above it.
// The renderer shades such a cell deeper, the shadow under a niche's lintel.
bool UnderRecessLintel(const TileCode* cells, int columns, const std::vector<TileCode>& walls, int column, int row);
