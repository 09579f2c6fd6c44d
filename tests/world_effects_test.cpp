// Tile effects: the code sequences of the cell effects, moving and falling blocks, and the death animations.
#include <vector>

#include "world_test_stage.h"

namespace {

class CellEffects : public WorldStage {};
class BlockMoves : public WorldStage {};
class DeathAnimations : public WorldStage {};
class EffectSlots : public WorldStage {};

// Runs an effect started at cell (c, r) until its slot is free; returns the code of the cell after each frame.
std::vector<TileCode> RunToEnd(Player& hero, int c, int r, int kind, int limit = 200) {
    std::vector<TileCode> codes;
    EXPECT_EQ(StartTileEffect(c * 16, r * 16, kind), 1);
    while (TileEffectRunning(c * 16, r * 16, kind) && static_cast<int>(codes.size()) < limit) {
        UpdateTileEffects(hero);
        codes.push_back(TileAt(c, r));
    }
    return codes;
}

std::vector<TileCode> Repeat(std::initializer_list<std::pair<TileCode, int>> runs) {
    std::vector<TileCode> codes;
    for (auto [code, n] : runs) codes.insert(codes.end(), n, code);
    return codes;
}

TEST_F(CellEffects, BrickShowsFourImagesForEightFramesThenEmpty) {
    SetTile(3, 4, tile::Brick);
    const auto codes = RunToEnd(hero, 3, 4, EffectBrick);
    EXPECT_EQ(codes, Repeat({{200, 8}, {201, 8}, {202, 8}, {203, 8}, {0, 9}}));
    EXPECT_EQ(IsSolidAt(48, 64), 0);
}

TEST_F(CellEffects, CrumblingFloorHoldsForSixteenFrames) {
    SetTile(3, 4, tile::CrumblingFloor);
    const auto codes = RunToEnd(hero, 3, 4, EffectCrumble);
    EXPECT_EQ(codes, Repeat({{180, 8}, {181, 8}, {182, 8}, {183, 8}, {0, 9}}));
    EXPECT_EQ(KindOf(180), Solid);
    EXPECT_EQ(KindOf(181), Solid);
    EXPECT_EQ(KindOf(182), Empty);
}

TEST_F(CellEffects, HiddenSpikesComeOut) {
    SetTile(3, 4, tile::HiddenSpikes);
    const auto codes = RunToEnd(hero, 3, 4, EffectSpikes);
    EXPECT_EQ(codes, Repeat({{tile::Spikes, 4}, {tile::SpikesOut, 3}}));
}

TEST_F(CellEffects, BumpBlockBouncesBack) {
    SetTile(3, 4, tile::BumpBlock);
    const auto codes = RunToEnd(hero, 3, 4, EffectBump);
    EXPECT_EQ(codes, Repeat({{0x50, 2}, {0x64, 2}, {0x78, 2}, {tile::BumpBlock, 3}}));
}

TEST_F(CellEffects, GateShutsAndBecomesSolid) {
    SetTile(3, 4, tile::Gate);
    const auto codes = RunToEnd(hero, 3, 4, EffectGate);
    EXPECT_EQ(codes, Repeat({{tile::GateClosing, 4}, {tile::GateShut, 1}}));
    EXPECT_EQ(IsSolidAt(48, 64), 1);
}

TEST_F(CellEffects, CheckpointLightsUpInSixteenFrames) {
    SetTile(3, 4, tile::Checkpoint);
    const auto codes = RunToEnd(hero, 3, 4, EffectCheckpoint);
    EXPECT_EQ(codes, Repeat({{tile::Checkpoint, 6}, {tile::CheckpointHalf, 6}, {tile::CheckpointTaken, 4}}));
}

TEST_F(CellEffects, PickUpVanishesAtOnce) {
    SetTile(3, 4, tile::Ring);
    EXPECT_EQ(RunToEnd(hero, 3, 4, EffectPickUp), Repeat({{0, 1}}));
    EXPECT_EQ(RestoreAt(3, 4), 0u);
}

TEST_F(CellEffects, ExplosionLeavesWaterAndLastsThirtyTwoFrames) {
    SetTile(3, 4, tile::Explosive);
    const auto codes = RunToEnd(hero, 3, 4, EffectExplosion);
    EXPECT_EQ(codes.size(), 32u);
    EXPECT_EQ(codes.front(), tile::Water);
}

TEST_F(CellEffects, CellEffectsTakeCellsFromPixels) {
    EXPECT_EQ(StartTileEffect(53, 70, EffectBrick), 1);
    EXPECT_EQ(tileEffects[0].x, 3);
    EXPECT_EQ(tileEffects[0].y, 4);
    EXPECT_EQ(StartTileEffect(53, 70, EffectSmashed), 1);
    EXPECT_EQ(tileEffects[1].x, 53);
    EXPECT_EQ(tileEffects[1].y, 70);
}

TEST_F(EffectSlots, RestartAtTheSamePlaceReplacesTheRunningEffect) {
    SetTile(3, 4, tile::Brick);
    ASSERT_EQ(StartTileEffect(48, 64, EffectBrick), 1);
    Frames(5);
    EXPECT_EQ(StartTileEffect(60, 70, EffectBump), 0); // same cell, other pixel and kind
    EXPECT_EQ(ActiveEffects(), 1);
    EXPECT_EQ(tileEffects[0].kind, EffectBump);
    EXPECT_EQ(tileEffects[0].t, 0);
}

TEST_F(EffectSlots, FullSlotsStartNothing) {
    FillEffectSlots();
    SetTile(3, 4, tile::Brick);
    EXPECT_EQ(StartTileEffect(48, 64, EffectBrick), 0);
    UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 4), tile::Brick);
}

TEST_F(EffectSlots, LowestFreeSlotIsTaken) {
    StartTileEffect(0, 0, EffectPickUp);
    StartTileEffect(16, 0, EffectBrick);
    UpdateTileEffects(hero); // the pick-up ends and frees slot 0
    EXPECT_EQ(tileEffects[0].active, 0);
    StartTileEffect(32, 0, EffectBrick);
    EXPECT_EQ(tileEffects[0].active, 1);
    EXPECT_EQ(tileEffects[0].x, 2);
}

TEST_F(EffectSlots, UnusedKindsFreeTheirSlot) {
    StartTileEffect(0, 0, 3);
    StartTileEffect(16, 0, 9);
    UpdateTileEffects(hero);
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(BlockMoves, PushedBlockSlidesOverWhatLayBelowIt) {
    Floor();
    SetTile(4, 10, tile::Water);
    SetTile(3, 10, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 160, EffectPushRight), 1);
    UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 10), BusyCell);
    EXPECT_EQ(TileAt(4, 10), BusyCell);
    EXPECT_EQ(RestoreAt(4, 10), tile::Water);
    UpdateTileEffects(hero);
    UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(4, 10), BusyCell);
    UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 10), 0u);
    EXPECT_EQ(TileAt(4, 10), tile::PushBlock);
    EXPECT_EQ(RestoreAt(4, 10), tile::Water); // uncovered when the block moves on
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(BlockMoves, PushedLeftBlockGivesBackWhatItCovered) {
    Floor();
    SetTile(5, 10, tile::Water);
    SetTile(5, 10, tile::PushBlock); // lies in water: the restore grid keeps the water
    ASSERT_EQ(StartTileEffect(80, 160, EffectPushLeft), 1);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(5, 10), tile::Water);
    EXPECT_EQ(TileAt(4, 10), tile::PushBlock);
}

TEST_F(BlockMoves, PushedBlockWithNothingBelowFallsOnToTheGround) {
    FillRow(11, 0, 39, kGround);
    FillRow(6, 0, 3, kGround); // a ledge in row 6 ending at column 3
    SetTile(3, 5, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 80, EffectPushRight), 1);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(4, 5), BusyCell); // falling already: its cell and the one below are held
    EXPECT_EQ(TileAt(4, 6), BusyCell);
    EXPECT_EQ(tileEffects[1].kind, EffectFall);
    for (int i = 0; i < 100 && ActiveEffects() > 0; ++i) UpdateTileEffects(hero);
    for (int r = 5; r < 10; ++r) EXPECT_EQ(TileAt(4, r), 0u) << r;
    EXPECT_EQ(TileAt(4, 10), tile::PushBlock);
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(BlockMoves, StackedBlocksFollow) {
    Floor();
    SetTile(3, 10, tile::PushBlock);
    SetTile(3, 9, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 160, EffectPushRight), 1);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(4, 10), tile::PushBlock);
    EXPECT_EQ(TileEffectRunning(48, 144, EffectFall), 1);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 9), 0u);
    EXPECT_EQ(TileAt(3, 10), tile::PushBlock);
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(BlockMoves, BlockPushedAlongTheBottomRowStays) {
    SetTile(3, 11, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 176, EffectPushRight), 1);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(4, 11), tile::PushBlock);
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(BlockMoves, BlockFallingIntoTheBottomRowDropsOut) {
    SetTile(3, 10, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 160, EffectFall), 1);
    EXPECT_EQ(TileAt(3, 11), BusyCell);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 10), 0u);
    EXPECT_EQ(TileAt(3, 11), BusyCell); // falls on from the bottom row
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 11), 0u);
    EXPECT_EQ(RestoreAt(3, 11), 0u);
    EXPECT_EQ(ActiveEffects(), 0);
    for (TileCode code : levelMap.live) EXPECT_NE(code, tile::PushBlock);
}

TEST_F(BlockMoves, FallenBlockKeepsWhatItLandedIn) {
    SetTile(3, 7, kGround);
    SetTile(3, 6, tile::Water);
    SetTile(3, 5, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 80, EffectFall), 1);
    EXPECT_EQ(RestoreAt(3, 6), tile::Water);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 6), tile::PushBlock);
    EXPECT_EQ(TileAt(3, 5), 0u);
    ASSERT_EQ(StartTileEffect(48, 96, EffectPushLeft), 1);
    for (int i = 0; i < 4; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 6), tile::Water); // the water comes back when the block moves on
}

// A cell already held by another moving block is never remembered as what lies underneath:
// the restore grid keeps the cell's own code, so no invisible wall is left behind later.
TEST_F(BlockMoves, BusyCellsNeverReachTheRestoreGrid) {
    Floor();
    SetTile(4, 10, tile::Water);
    SetTile(4, 10, BusyCell); // live only
    SetTile(3, 10, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 160, EffectPushRight), 1);
    UpdateTileEffects(hero);
    EXPECT_EQ(RestoreAt(4, 10), tile::Water);

    SetTile(8, 6, tile::Ring);
    SetTile(8, 6, BusyCell);
    SetTile(8, 5, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(128, 80, EffectFall), 1);
    EXPECT_EQ(RestoreAt(8, 6), tile::Ring);
    for (TileCode code : levelMap.restore) EXPECT_NE(code, BusyCell);
}

TEST_F(BlockMoves, FallingBlockStopsOnAnotherBlock) {
    SetTile(3, 11, tile::PushBlock);
    SetTile(3, 8, tile::PushBlock);
    ASSERT_EQ(StartTileEffect(48, 128, EffectFall), 1);
    for (int i = 0; i < 8; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(TileAt(3, 10), tile::PushBlock);
    EXPECT_EQ(TileAt(3, 11), tile::PushBlock);
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(DeathAnimations, GivingUpLoopsForEver) {
    PlaceHero(100, 50);
    KillPlayer(hero, "", EffectSuicide);
    for (int i = 0; i < 63; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(hero.deathEffect, EffectSuicide);
    EXPECT_EQ(hero.y, 50);
    UpdateTileEffects(hero);
    EXPECT_EQ(tileEffects[0].t, 23);
    EXPECT_EQ(tileEffects[0].active, 1);
    EXPECT_EQ(hero.deathEffect, 0);
    EXPECT_EQ(hero.y, kDeathEffectEndY);
    hero.y = 7;
    for (int i = 0; i < 41; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(tileEffects[0].t, 23);
    EXPECT_EQ(hero.y, 7); // only the first end moves the hero
}

TEST_F(DeathAnimations, DrowningBecomesTheLastingDrownedHero) {
    PlaceHero(100, 50);
    KillPlayer(hero, "DROWNED", EffectDrowning);
    for (int i = 0; i < 64; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(tileEffects[0].kind, EffectDrowned);
    EXPECT_EQ(tileEffects[0].t, 0);
    EXPECT_EQ(hero.y, kDeathEffectEndY);
    for (int i = 0; i < 1000; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(tileEffects[0].active, 1);
}

TEST_F(DeathAnimations, SmashedEndsAfterThirtyTwoFrames) {
    PlaceHero(100, 50);
    KillPlayer(hero, "SMASHED", EffectSmashed);
    for (int i = 0; i < 31; ++i) UpdateTileEffects(hero);
    EXPECT_EQ(tileEffects[0].active, 1);
    UpdateTileEffects(hero);
    EXPECT_EQ(tileEffects[0].active, 0);
    EXPECT_EQ(hero.deathEffect, 0);
    EXPECT_EQ(hero.y, kDeathEffectEndY);
}

TEST_F(DeathAnimations, EnemyKillsEndAfterSixtyFourFrames) {
    for (int kind : {EffectCrushedByEnemy, EffectStabbed, EffectImpaled}) {
        MakeStage(10);
        PlaceHero(100, 50);
        KillPlayer(hero, "X", kind);
        for (int i = 0; i < 63; ++i) UpdateTileEffects(hero);
        EXPECT_EQ(ActiveEffects(), 1) << kind;
        UpdateTileEffects(hero);
        EXPECT_EQ(ActiveEffects(), 0) << kind;
        EXPECT_EQ(hero.y, kDeathEffectEndY) << kind;
    }
}

TEST_F(DeathAnimations, DeadHeroFallsOutAfterTheEffect) {
    Floor();
    PlaceHero(100, 160);
    KillPlayer(hero, "X", EffectStabbed);
    int frames = 0;
    while (hero.active && frames < 1000) {
        Frame();
        ++frames;
        if (frames < 64) {
            EXPECT_EQ(hero.y, 160);
        }
    }
    EXPECT_EQ(hero.active, 0);
    EXPECT_GT(hero.y, kDeadGoneY);
    EXPECT_LT(hero.x, 100); // drifted left all along
}

} // namespace
