// The recesses under a ceiling: which openings show a darkened back wall instead of the night sky,
// and which wall; and that the playfield draws one behind a ring set in a cave wall.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/back_wall_recess.h"
#include "game/game_state.h"
#include "game/playfield_render.h"
#include "game/stage_loader.h"
#include "platform/draw.h"
#include "platform/draw_listener.h"
#include "test_screen.h"
#include "world/map_format.h"
#include "world/play_state.h"
#include "world/player.h"
#include "world/world_state.h"

namespace {

constexpr TileCode kRock = 0x6F;   // solid cave rock
constexpr TileCode kRing = 0x0F;   // a ring: its cell empties once taken
constexpr TileCode kCave = 0x2E;   // cave back wall
constexpr TileCode kCastle = 0x2D; // castle back wall
constexpr TileCode kIce = 0x32;    // ice back wall

// A column-major grid from rows written top first, one character a cell, rock below the rows
// given: '#' rock, 'c' cave wall, 'k' castle wall, 'i' ice wall, 'e' a cave edge piece (edge at
// left), 't' a castle wall with a torch, 'o' a ring, anything else empty.
std::vector<TileCode> Grid(const std::vector<std::string>& rows)
{
    const int columns = static_cast<int>(rows[0].size());
    std::vector<TileCode> cells(static_cast<size_t>(columns) * kRows, kRock);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        for (int c = 0; c < columns; ++c) {
            TileCode code = tile::None;
            switch (rows[r][c]) {
            case '#': code = kRock; break;
            case 'c': code = kCave; break;
            case 'k': code = kCastle; break;
            case 'i': code = kIce; break;
            case 'e': code = 0xDA; break;
            case 't': code = 0x9E; break;
            case 'o': code = kRing; break;
            }
            cells[c * kRows + r] = code;
        }
    }
    return cells;
}

// An opening of rows 1 to `height` of a four-column room walled with cave wall, and one more
// empty cell below its second column when `nook`.
std::vector<std::string> Room(int height, bool nook)
{
    std::vector<std::string> rows{"######"};
    for (int r = 0; r < height; ++r)
        rows.push_back("c....c");
    rows.push_back(nook ? "#.####" : "######");
    return rows;
}

TEST(BackWallRecess, EveryPieceNamesThePlainWallItIsPaintedOn)
{
    const std::pair<TileCode, TileCode> pieces[] = {
        {0x2D, 0x2D}, {0x4B, 0x2D}, {0xEF, 0x2D}, {0x2E, 0x2E}, {0xD8, 0x2E}, {0x5B, 0x2E},
        {0x31, 0x31}, {0xEA, 0x31}, {0xB2, 0x31}, {0x32, 0x32}, {0xEB, 0x32}, {0xB3, 0x32},
        {kRock, tile::None}, {kRing, tile::None}, {tile::None, tile::None}, {BusyCell, tile::None},
    };
    for (auto [code, wall] : pieces)
        EXPECT_EQ(BackWallOf(code), wall) << "code " << code;
}

TEST(BackWallRecess, SmallOpeningsUnderACeilingTakeTheWallRoundThem)
{
    static_assert(kMaxRecessCells == 40, "the room cases below hold 40 and 41 cells");
    struct Case {
        const char* what;
        std::vector<std::string> rows;
        int column, row;
        TileCode wall;
    };
    const Case cases[] = {
        {"a ring in a cave wall", {"#######", "ccc.ccc", "ccocccc"}, 2, 2, kCave},
        {"an empty socket framed by an edge piece", {"#######", "cce.ccc"}, 3, 1, kCave},
        {"an opening up to the open air", {"###.###", "ccc.ccc"}, 3, 1, tile::None},
        {"a gap in the ceiling elsewhere", {"#.#####", "c.ccc.c"}, 5, 1, kCave},
        {"a back-wall piece itself", {"#######", "ccctccc"}, 3, 1, tile::None},
        {"a block under a recess shows it through", {"#######", "ccc.ccc"}, 3, 2, kCave},
        {"a block beside an opening to the sky", {"###.###", "###.###"}, 2, 0, tile::None},
        {"a block away from any wall", {"#######", "#######", "ccc.ccc"}, 0, 0, tile::None},
        {"a block set in a back wall", {"#####", "k#iii"}, 1, 1, kCastle},
        {"a block takes its left side before its right", {"#######", "ci#.ccc"}, 2, 1, kIce},
        {"a block takes a recess above it", {"#######", "ccc.ccc", "ccc#ccc"}, 3, 2, kCave},
        {"an opening with no back wall round it", {"#####", "#...#"}, 2, 1, tile::None},
        {"the largest recess", Room(10, false), 2, 5, kCave},
        {"one cell more keeps the sky", Room(10, true), 2, 5, tile::None},
        {"the wall bordering it most", {"#####", "k..ik", "k...k"}, 2, 1, kCastle},
        {"the lower code on a tie", {"####", "i..k"}, 1, 1, kCastle},
        {"a crate parts two openings", {"######", "k.[..i"}, 3, 1, kIce},
        {"the crate shows the recess on its left", {"######", "k.[..i"}, 2, 1, kCastle},
    };
    for (const Case& c : cases) {
        std::vector<TileCode> cells = Grid(c.rows);
        const int columns = static_cast<int>(c.rows[0].size());
        for (int col = 0; col < columns; ++col) {
            for (int r = 0; r < static_cast<int>(c.rows.size()); ++r) {
                if (c.rows[r][col] == '[')
                    cells[col * kRows + r] = tile::PushBlock;
            }
        }
        std::vector<TileCode> walls;
        FindRecesses(cells.data(), columns, walls);
        ASSERT_EQ(walls.size(), cells.size()) << c.what;
        EXPECT_EQ(walls[c.column * kRows + c.row], c.wall) << c.what;
    }
    std::vector<TileCode> walls{1, 2, 3};
    FindRecesses(nullptr, 0, walls);
    EXPECT_TRUE(walls.empty()) << "a stage without columns has no recesses";
}

TEST(BackWallRecess, ThePlayfieldShadesTheWallBehindARingUnderARockCeiling)
{
    testscreen::OpenScreen(16);
    CreateDimOverlay();
    game = GameState{};
    game.stage = 1;
    world = WorldState{};
    ResetRestartPoint();
    // Twenty columns of rock, cave wall in row 1 with a ring at column 5, and column 12 open
    // to the sky above its ring.
    StageMap map;
    map.columns = 20;
    map.cells.assign(20 * kRows, kRock);
    for (int c = 0; c < 20; ++c) {
        map.cells[c * kRows] = c == 12 ? 0 : kRock;
        map.cells[c * kRows + 1] = c == 5 || c == 12 ? kRing : kCave;
    }
    const std::vector<uint8_t> bytes = EncodeStageMap(map);
    Player hero;
    ApplyStageMap(bytes.data(), bytes.size(), hero);
    static std::vector<std::string> calls;
    calls.clear();
    SetDrawListener([](const DrawCall& call) {
        calls.push_back(std::string(call.what) + " " + std::to_string(call.v[0] + world.cameraX) + " " +
                        std::to_string(call.v[1]) + " " + std::to_string(call.v[2]));
    });
    DrawPlayfield(0, hero);
    SetDrawListener(nullptr);
    testscreen::CloseScreen();
    auto at = [](const std::string& call) {
        for (size_t i = 0; i < calls.size(); ++i) {
            if (calls[i] == call)
                return static_cast<int>(i);
        }
        return -1;
    };
    const int wall = at("tile 80 16 46"), shade = at("dim 80 16 16"), ring = at("tile 80 16 15");
    ASSERT_GE(wall, 0) << "the cave wall is drawn behind the ring";
    EXPECT_EQ(shade, wall + 1) << "and darkened at once";
    EXPECT_GT(ring, shade) << "the ring comes in front of its recess";
    EXPECT_EQ(at("dim 192 16 16"), -1) << "the ring open to the sky keeps the sky";
    EXPECT_EQ(at("dim 96 16 16"), -1) << "a plain wall cell is no recess";
}

} // namespace
