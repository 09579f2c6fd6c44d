// Finding the openings under a ceiling that read as recesses in a back wall.
#include "game/back_wall_recess.h"

#include <cstddef>
#include <utility>

#include "world/level_map.h"

namespace {

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

// The four plain walls, in the order their borders are counted.
constexpr TileCode kPlainWalls[] = {0x2D, 0x2E, 0x31, 0x32};
constexpr int kPlainWallCount = 4;

bool InGrid(int column, int row, int columns)
{
    return column >= 0 && column < columns && row >= 0 && row < kRows;
}

bool Blocks(TileCode code)
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

void FindRecesses(const TileCode* cells, int columns, std::vector<TileCode>& walls)
{
    const int count = columns > 0 ? columns * kRows : 0;
    walls.assign(static_cast<std::size_t>(count), tile::None);
    auto inOpening = [&](int i) { return !Blocks(cells[i]) && BackWallOf(cells[i]) == tile::None; };
    std::vector<char> seen(static_cast<std::size_t>(count), 0);
    std::vector<int> region, todo;
    for (int start = 0; start < count; ++start) {
        if (seen[start] || !inOpening(start))
            continue;
        region.clear();
        todo.assign(1, start);
        seen[start] = 1;
        bool open = false;
        int borders[kPlainWallCount] = {};
        while (!todo.empty()) {
            const int i = todo.back();
            todo.pop_back();
            region.push_back(i);
            const int c = i / kRows, r = i % kRows;
            open = open || !Blocks(cells[c * kRows]);
            const std::pair<int, int> sides[] = {{c, r - 1}, {c, r + 1}, {c - 1, r}, {c + 1, r}};
            for (auto [nc, nr] : sides) {
                if (!InGrid(nc, nr, columns))
                    continue;
                const int n = nc * kRows + nr;
                if (const TileCode wall = BackWallOf(cells[n])) {
                    for (int w = 0; w < kPlainWallCount; ++w)
                        borders[w] += kPlainWalls[w] == wall;
                } else if (!seen[n] && inOpening(n)) {
                    seen[n] = 1;
                    todo.push_back(n);
                }
            }
        }
        if (open || static_cast<int>(region.size()) > kMaxRecessCells)
            continue;
        int best = 0;
        for (int w = 1; w < kPlainWallCount; ++w)
            best = borders[w] > borders[best] ? w : best;
        if (borders[best] == 0)
            continue;
        for (int i : region)
            walls[i] = kPlainWalls[best];
    }
    // A see-through block set in a back wall or at a recess's edge (a crumbling floor over a
    // trench, a ledge, a crate in its socket) shows that wall behind it rather than the sky;
    // behind an opaque block the wall drawn is hidden anyway. Taken from the openings and the
    // walls alone, so it never spreads from block to block.
    const std::vector<TileCode> openings = walls;
    for (int i = 0; i < count; ++i) {
        const int c = i / kRows, r = i % kRows;
        if (!Blocks(cells[i]) || !Blocks(cells[c * kRows]) || BackWallOf(cells[i]) != tile::None)
            continue;
        const std::pair<int, int> sides[] = {{c, r - 1}, {c, r + 1}, {c - 1, r}, {c + 1, r}};
        for (auto [nc, nr] : sides) {
            if (!InGrid(nc, nr, columns))
                continue;
            const int n = nc * kRows + nr;
            const TileCode wall = openings[n] != tile::None ? openings[n] : BackWallOf(cells[n]);
            if (wall != tile::None) {
                walls[i] = wall;
                break;
            }
        }
    }
}

bool UnderRecessLintel(const TileCode* cells, int columns, const std::vector<TileCode>& walls, int column, int row)
{
    auto recessOpening = [&](int c, int r) {
        const int i = c * kRows + r;
        return InGrid(c, r, columns) && walls[i] != tile::None && !Blocks(cells[i]);
    };
    return recessOpening(column, row) && !recessOpening(column, row - 1);
}
