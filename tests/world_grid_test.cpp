// The stage grid: accessor edge cases and the exact contents of the two per-code tables.
#include <set>

#include "world_test_stage.h"

namespace {

class GridAccess : public WorldStage {};

std::set<int> CodesOfKind(TileKind kind) {
    std::set<int> codes;
    for (int c = 0; c < kTileCodeCount; ++c)
        if (kTileAttributes[c] == kind) codes.insert(c);
    return codes;
}

std::set<int> Ranges(std::initializer_list<std::pair<int, int>> ranges) {
    std::set<int> codes;
    for (auto [first, last] : ranges)
        for (int c = first; c <= last; ++c) codes.insert(c);
    return codes;
}

TEST(TileTables, SolidCodesAreExactlyTheFortyFourListed) {
    const std::set<int> expected =
        Ranges({{0x14, 0x17}, {0x28, 0x28}, {0x2B, 0x2C}, {0x3F, 0x40}, {0x42, 0x42}, {0x45, 0x45},
                {0x4D, 0x50}, {0x5C, 0x5D}, {0x5F, 0x60}, {0x64, 0x64}, {0x6E, 0x71}, {0x73, 0x74},
                {0x78, 0x78}, {0x82, 0x88}, {0x96, 0x9A}, {0xAA, 0xAC}, {0xB4, 0xB5}});
    EXPECT_EQ(expected.size(), 44u);
    EXPECT_EQ(CodesOfKind(Solid), expected);
}

TEST(TileTables, HazardsAndPushableBlock) {
    EXPECT_EQ(CodesOfKind(Hazard), (std::set<int>{0x57, 0x69, 0x8C}));
    EXPECT_EQ(CodesOfKind(Pushable), (std::set<int>{0x19}));
    // Everything else passes, including hidden spikes, the gate and the broken-brick images.
    EXPECT_EQ(CodesOfKind(Empty).size(), 240u - 44u - 3u - 1u);
    for (int code : {0x56, 0x58, 0x29, 0x1A, 200, 203, 182, 183}) EXPECT_EQ(kTileAttributes[code], Empty) << code;
}

TEST(TileTables, LayerOneHoldsExactlyTheThirtyFourListed) {
    const std::set<int> expected =
        Ranges({{0x51, 0x54}, {0x5E, 0x5E}, {0x61, 0x63}, {0x65, 0x68}, {0x6A, 0x6D}, {0x72, 0x72},
                {0x75, 0x77}, {0x7F, 0x81}, {0x93, 0x95}, {0x9B, 0x9D}, {0xA7, 0xA8}, {0xAF, 0xB1}});
    EXPECT_EQ(expected.size(), 34u);
    std::set<int> front;
    for (int c = 0; c < kTileCodeCount; ++c) {
        ASSERT_LE(kTileLayer[c], 1) << c;
        if (kTileLayer[c] == 1) front.insert(c);
    }
    EXPECT_EQ(front, expected);
}

TEST(TileTables, BusyAndHigherCodesCountAsSolid) {
    EXPECT_EQ(KindOf(BusyCell), Solid);
    EXPECT_EQ(KindOf(0xFF), Solid);
    EXPECT_EQ(KindOf(0x19), Pushable);
    EXPECT_EQ(KindOf(0xEF), Empty);
}

TEST_F(GridAccess, OutsideTheGridReadsEmpty) {
    MakeStage(3);
    FillRow(0, 0, 2, kGround);
    FillRow(11, 0, 2, kGround);
    EXPECT_EQ(TileAt(0, 0), kGround);
    EXPECT_EQ(TileAt(2, 11), kGround);
    EXPECT_EQ(TileAt(-1, 0), 0u);
    EXPECT_EQ(TileAt(3, 0), 0u);
    EXPECT_EQ(TileAt(0, -1), 0u);
    EXPECT_EQ(TileAt(0, 12), 0u);
    EXPECT_EQ(TileAtPixel(47, 191), kGround);
    EXPECT_EQ(TileAtPixel(48, 191), 0u);
    EXPECT_EQ(TileAtPixel(0, 192), 0u);
    EXPECT_EQ(TileAtPixel(-1, 0), 0u);
    EXPECT_EQ(TileAtPixel(0, -1), 0u);
}

TEST_F(GridAccess, GridIsColumnMajor) {
    MakeStage(4);
    SetTile(2, 5, 0x33);
    EXPECT_EQ(levelMap.live[2 * 12 + 5], 0x33u);
    EXPECT_EQ(TileAtPixel(2 * 16 + 15, 5 * 16), 0x33u);
}

TEST_F(GridAccess, WallsLeftAndRightNothingBelow) {
    MakeStage(3);
    FillRow(11, 0, 2, kGround);
    EXPECT_EQ(IsSolidAt(-1, 100), 1);
    EXPECT_EQ(IsSolidAt(48, 100), 1);
    EXPECT_EQ(IsSolidAt(47, 100), 0);
    EXPECT_EQ(IsSolidAt(0, 100), 0);
    EXPECT_EQ(IsSolidAt(20, 191), 1);
    EXPECT_EQ(IsSolidAt(20, 192), 0); // below the stage nothing holds
    EXPECT_EQ(IsSolidAt(20, 500), 0);
    EXPECT_EQ(IsSolidAt(-1, 500), 1); // the side walls reach down for ever
}

TEST_F(GridAccess, AboveTheStageContinuesTheTopRow) {
    MakeStage(3);
    SetTile(1, 0, kGround);
    EXPECT_EQ(IsSolidAt(20, -40), 1);
    EXPECT_EQ(IsSolidAt(5, -40), 0);
    EXPECT_EQ(IsSolidAt(20, 16), 0);
}

TEST_F(GridAccess, SetTileKeepsBlocksAndBusyCellsOutOfTheRestoreGrid) {
    MakeStage(3);
    SetTile(1, 4, tile::Water);
    EXPECT_EQ(RestoreAt(1, 4), tile::Water);
    SetTile(1, 4, tile::PushBlock);
    EXPECT_EQ(TileAt(1, 4), tile::PushBlock);
    EXPECT_EQ(RestoreAt(1, 4), tile::Water);
    SetTile(1, 4, BusyCell);
    EXPECT_EQ(TileAt(1, 4), BusyCell);
    EXPECT_EQ(RestoreAt(1, 4), tile::Water);
    SetTile(1, 4, tile::Ring);
    EXPECT_EQ(RestoreAt(1, 4), tile::Ring);
}

TEST_F(GridAccess, WritesOutsideTheGridChangeNothing) {
    MakeStage(3);
    const auto live = levelMap.live, restore = levelMap.restore;
    SetTile(0, 12, kGround);
    SetTile(0, -1, kGround);
    SetTile(-1, 0, kGround);
    SetTile(3, 0, kGround);
    SetLiveOnly(3, 11, kGround);
    SetRestore(-1, 11, kGround);
    EXPECT_EQ(levelMap.live, live);
    EXPECT_EQ(levelMap.restore, restore);
}

TEST_F(GridAccess, BusyCellIsSolidButNeverPushableOrHazard) {
    MakeStage(3);
    SetTile(1, 3, BusyCell);
    SetTile(2, 3, 0xF7);
    EXPECT_EQ(IsSolidAt(16, 48), 1);
    EXPECT_EQ(IsSolidAt(32, 48), 1);
    EXPECT_EQ(IsPushableAt(16, 48), 0);
    EXPECT_EQ(HazardAt(16, 48), 0u);
    EXPECT_EQ(HazardAt(32, 48), 0u);
}

TEST_F(GridAccess, PushableAndHazardTests) {
    MakeStage(3);
    SetTile(0, 11, tile::PushBlock);
    SetTile(1, 11, tile::Spikes);
    SetTile(2, 11, tile::Explosive);
    EXPECT_EQ(IsPushableAt(0, 176), 1);
    EXPECT_EQ(IsSolidAt(0, 176), 1);
    EXPECT_EQ(IsPushableAt(0, 192), 0);
    EXPECT_EQ(IsPushableAt(-1, 176), 0);
    EXPECT_EQ(HazardAt(16, 191), tile::Spikes);
    EXPECT_EQ(HazardAt(40, 180), tile::Explosive);
    EXPECT_EQ(HazardAt(16, 192), 0u);
    EXPECT_EQ(IsSolidAt(16, 180), 0); // hazards do not block
}

TEST_F(GridAccess, HiddenSpikesAndGateArePassable) {
    MakeStage(3);
    SetTile(0, 5, tile::HiddenSpikes);
    SetTile(1, 5, tile::Gate);
    EXPECT_EQ(IsSolidAt(0, 80), 0);
    EXPECT_EQ(IsSolidAt(16, 80), 0);
    EXPECT_EQ(HazardAt(0, 80), 0u);
}

TEST_F(GridAccess, ResetGivesAtLeastOneEmptyColumn) {
    ResetLevelMap(0);
    EXPECT_EQ(levelMap.columns, 1);
    EXPECT_EQ(levelMap.live.size(), 12u);
    EXPECT_EQ(levelMap.restore.size(), 12u);
    ResetLevelMap(65536);
    EXPECT_EQ(TileAtPixel(65536 * 16 - 1, 191), 0u);
    EXPECT_EQ(IsSolidAt(65536 * 16, 0), 1);
}

} // namespace
