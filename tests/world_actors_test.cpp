// Enemies, lifts and the camera: spawning, walking and falling, stomps and kills, lift turns, scrolling.
#include "world_test_stage.h"

namespace {

class ActorSpawning : public WorldStage {};
class ActorMoving : public WorldStage {};
class ActorContact : public WorldStage {};
class LiftMoving : public WorldStage {};
class CameraScroll : public WorldStage {};

// Index of the only active actor, -1 when there is none or more than one.
int OnlyActor() {
    int found = -1;
    for (int i = 0; i < kActorSlots; ++i) {
        if (!actors[i].active) continue;
        if (found >= 0) return -1;
        found = i;
    }
    return found;
}

TEST_F(ActorSpawning, NewActorsStartWalkingLeft) {
    for (int type = ActorMasky; type <= ActorSkull; ++type) {
        ClearActors();
        ASSERT_EQ(SpawnActor(32, 48, type), 1);
        const Actor& a = actors[0];
        EXPECT_EQ(a.active, 1);
        EXPECT_EQ(a.x, 32);
        EXPECT_EQ(a.y, 48);
        EXPECT_EQ(a.type, type);
        EXPECT_EQ(a.timer, 0);
        EXPECT_EQ(a.vy, 0);
        EXPECT_EQ(a.stompCount, 0);
        EXPECT_EQ(a.dx, type == ActorSkull ? -2 : -1) << type;
        EXPECT_EQ(a.stompable, type == ActorMasky || type == ActorWingedEye || type == ActorSkull) << type;
    }
    EXPECT_EQ(actors[0].savedDx, -2);
}

TEST_F(ActorSpawning, RevealedCodesSpawnAndChange) {
    const TileCode column[kRows] = {tile::MaskySpawn, tile::BeetleSpawn, tile::WingedEyeSpawn, tile::AcidFishSpawn,
                                    tile::SkullSpawnA, tile::SkullSpawnB, tile::Spikes, tile::Ring};
    for (int r = 0; r < kRows; ++r) SetTile(5, r, column[r]);
    RevealColumn(80);
    const int types[] = {ActorMasky, ActorBeetle, ActorWingedEye, ActorAcidFish, ActorSkull, ActorSkull};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(actors[i].type, types[i]) << i;
        EXPECT_EQ(actors[i].x, 80);
        EXPECT_EQ(actors[i].y, 16 * i);
    }
    EXPECT_EQ(actors[6].active, 0);
    const TileCode after[8] = {0, 0, 0, tile::Water, 0, 0, tile::HiddenSpikes, tile::Ring};
    for (int r = 0; r < 8; ++r) EXPECT_EQ(TileAt(5, r), after[r]) << r;
}

TEST_F(ActorSpawning, FullSlotsLoseTheRevealedActor) {
    for (int i = 0; i < kActorSlots; ++i) ASSERT_EQ(SpawnActor(500 + i, 0, ActorBeetle), 1);
    EXPECT_EQ(SpawnActor(0, 0, ActorMasky), 0);
    SetTile(5, 3, tile::MaskySpawn);
    RevealColumn(80);
    EXPECT_EQ(TileAt(5, 3), 0u);
    for (const Actor& a : actors) EXPECT_EQ(a.type, ActorBeetle);
    // A freed slot is reused, the lowest first.
    actors[7].active = 0;
    actors[3].active = 0;
    EXPECT_EQ(SpawnActor(1, 2, ActorMasky), 1);
    EXPECT_EQ(actors[3].type, ActorMasky);
}

TEST_F(ActorSpawning, RevealBeyondTheStageDoesNothing) {
    MakeStage(2);
    SetTile(1, 0, tile::MaskySpawn);
    RevealColumn(32);
    RevealColumn(-5);
    EXPECT_EQ(ActiveActors(), 0);
    EXPECT_EQ(TileAt(1, 0), tile::MaskySpawn);
}

TEST_F(ActorMoving, MaskyTurnsAtAWallWithoutMoving) {
    Floor();
    SetTile(2, 10, kGround);
    SpawnActor(48, 160, ActorMasky);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].x, 48);
    EXPECT_EQ(actors[0].dx, 1);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].x, 49);
}

TEST_F(ActorMoving, MaskyWalksOffALedgeAndFallsStraightDown) {
    FillRow(11, 3, 10, kGround);
    FillRow(8, 0, 2, kGround); // something to hit if it moved sideways
    SpawnActor(40, 160, ActorMasky);
    for (int i = 0; i < 7; ++i) UpdateActors(hero);
    EXPECT_EQ(actors[0].x, 33);
    EXPECT_EQ(actors[0].y, 160);
    UpdateActors(hero); // x 32: nothing under either corner
    EXPECT_EQ(actors[0].x, 32);
    EXPECT_EQ(actors[0].y, 161);
    for (int i = 0; i < 20; ++i) {
        UpdateActors(hero);
        if (!actors[0].active) break;
        EXPECT_EQ(actors[0].x, 32);
    }
}

TEST_F(ActorMoving, FallingActorSpeedsUpByThirds) {
    SpawnActor(48, 20, ActorBeetle);
    int ys[6];
    for (int& y : ys) {
        UpdateActors(hero);
        y = actors[0].y;
    }
    // vy 0, 1, 2 give nothing, then 3, 4, 5 one pixel each, 6 two...
    EXPECT_EQ(ys[0], 20);
    EXPECT_EQ(ys[2], 20);
    EXPECT_EQ(ys[3], 21);
    EXPECT_EQ(ys[5], 23);
    EXPECT_EQ(actors[0].x, 48);
}

TEST_F(ActorMoving, LandingSnapsToTheRow) {
    Floor();
    SpawnActor(48, 150, ActorMasky);
    actors[0].vy = 60; // 20 pixels a frame: into the floor row
    UpdateActors(hero);
    EXPECT_EQ(actors[0].y, 170);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].y, 160);
    EXPECT_EQ(actors[0].vy, 3);
}

TEST_F(ActorMoving, SkullsBridgeOneCellGapsMaskiesDoNot) {
    Floor();
    SetTile(5, 11, tile::None);
    SpawnActor(96, 160, ActorSkull);
    for (int i = 0; i < 20; ++i) UpdateActors(hero);
    EXPECT_EQ(actors[0].y, 160);
    EXPECT_EQ(actors[0].x, 56);

    ClearActors();
    SpawnActor(96, 160, ActorMasky);
    for (int i = 0; i < 30; ++i) UpdateActors(hero);
    EXPECT_EQ(actors[0].x, 80);
    EXPECT_GT(actors[0].y, 160);
}

TEST_F(ActorMoving, FlyersAndSwimmersIgnoreGravity) {
    SpawnActor(300, 48, ActorWingedEye);
    SpawnActor(300, 80, ActorAcidFish);
    for (int i = 0; i < 10; ++i) UpdateActors(hero);
    EXPECT_EQ(actors[0].y, 48);
    EXPECT_EQ(actors[1].y, 80);
    EXPECT_EQ(actors[0].x, 290);
}

TEST_F(ActorMoving, BuriedActorIsGone) {
    Floor();
    SpawnActor(48, 160, ActorBeetle);
    SetTile(3, 10, tile::PushBlock);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 0);
}

TEST_F(ActorMoving, ActorsFarFromTheViewAreDropped) {
    MakeStage(60);
    Floor();
    world.cameraX = 300;
    // Each walks a pixel left before the test.
    SpawnActor(51, 160, ActorBeetle);  // 250 behind: kept
    SpawnActor(50, 160, ActorBeetle);  // just beyond
    SpawnActor(801, 160, ActorBeetle); // 500 ahead: kept
    SpawnActor(802, 160, ActorBeetle);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 1);
    EXPECT_EQ(actors[1].active, 0);
    EXPECT_EQ(actors[2].active, 1);
    EXPECT_EQ(actors[3].active, 0);
    ClearActors();
    SpawnActor(400, 200, ActorAcidFish);
    SpawnActor(400, 201, ActorAcidFish);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 1);
    EXPECT_EQ(actors[1].active, 0);
}

TEST_F(ActorMoving, WalkingMaskyBetweenRowsAtFrameOneHundredTwentyVanishes) {
    SpawnActor(300, 0, ActorMasky);
    actors[0].timer = 119;
    actors[0].y = 5; // falling
    UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 0);
}

// A hero falling onto (or standing next to) an actor at (100, 108): the actor stays in the air
// for a frame (vy 0), so only the contact rules act.
class ActorTouch : public ActorContact {
protected:
    void Touch(int type, int heroVy) {
        MakeStage(40);
        SpawnActor(100, 108, type);
        PlaceHero(101, 100);
        hero.vy = heroVy;
        UpdateActors(hero);
    }
};

TEST_F(ActorTouch, StandingHeroNeverStomps) {
    for (int type : {ActorMasky, ActorWingedEye, ActorSkull}) {
        Touch(type, kStandingSpeed);
        EXPECT_EQ(hero.dead, 1) << type;
        EXPECT_EQ(hero.bounce, 0);
        Touch(type, kStandingSpeed + 1);
        EXPECT_EQ(hero.dead, 0) << type;
        EXPECT_EQ(hero.bounce, 1);
    }
}

TEST_F(ActorTouch, EachTypeKillsWithItsMessageAndEffect) {
    struct Case {
        int type;
        const char* message;
        int effect;
    };
    const Case cases[] = {{ActorMasky, "STABBED BY MASKY", EffectStabbed},
                          {ActorBeetle, "STOPPED BY BEETLE", EffectCrushedByEnemy},
                          {ActorWingedEye, "HIT BY WINGEDEYE", EffectStabbed},
                          {ActorAcidFish, "EATEN BY ACIDFISH", EffectImpaled},
                          {ActorSkull, "KILLED BY SKULL", EffectCrushedByEnemy}};
    for (const Case& c : cases) {
        Touch(c.type, 0);
        EXPECT_EQ(hero.dead, 1) << c.type;
        EXPECT_STREQ(world.statusMessage, c.message);
        EXPECT_EQ(hero.deathEffect, c.effect);
    }
}

TEST_F(ActorTouch, BeetleAndAcidFishCannotBeStomped) {
    for (int type : {ActorBeetle, ActorAcidFish}) {
        Touch(type, 20);
        EXPECT_EQ(hero.dead, 1) << type;
        EXPECT_EQ(hero.bounce, 0);
    }
}

TEST_F(ActorTouch, KillBoxIsSmallerThanTheTile) {
    MakeStage(40);
    SpawnActor(100, 108, ActorBeetle);
    PlaceHero(114, 108); // 14 pixels right: boxes overlap by 2 pixels, no kill
    UpdateActors(hero);
    EXPECT_EQ(hero.dead, 0);
    PlaceHero(112, 108);
    UpdateActors(hero); // the beetle moved to 99: still 13 apart
    EXPECT_EQ(hero.dead, 1);
}

TEST_F(ActorTouch, DeadOrInactiveHeroIsLeftAlone) {
    SpawnActor(100, 108, ActorBeetle);
    PlaceHero(101, 108);
    hero.active = 0;
    UpdateActors(hero);
    EXPECT_EQ(hero.dead, 0);
    hero.active = 1;
    KillPlayer(hero, "FIRST", 0);
    UpdateActors(hero);
    EXPECT_STREQ(world.statusMessage, "FIRST");
}

TEST_F(ActorTouch, StompedMaskyStopsAndVanishesAfterOneHundredTwentyFrames) {
    Touch(ActorMasky, 8);
    EXPECT_EQ(actors[0].dx, 0);
    EXPECT_EQ(actors[0].timer, 0);
    EXPECT_EQ(world.score, 3);
    hero.active = 0;
    FillRow(8, 0, 39, kGround);
    for (int i = 0; i < 119; ++i) UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 1);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 0);
}

TEST_F(ActorTouch, StompedWingedEyeFallsApartInTwelveFrames) {
    Touch(ActorWingedEye, 8);
    EXPECT_EQ(actors[0].type, ActorWingedEyeStomped);
    EXPECT_EQ(actors[0].dx, 0);
    EXPECT_EQ(world.score, 3);
    // Stomped, it never kills.
    PlaceHero(100, 108);
    for (int i = 0; i < 11; ++i) UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 1);
    EXPECT_EQ(hero.dead, 0);
    UpdateActors(hero);
    EXPECT_EQ(actors[0].active, 0);
}

TEST_F(ActorTouch, SkullGetsUpTurnedAroundAndPaysOnlyOnce) {
    Touch(ActorSkull, 8);
    Actor& skull = actors[0];
    EXPECT_EQ(skull.dx, 0);
    EXPECT_EQ(skull.savedDx, -2);
    EXPECT_EQ(skull.stompCount, 1);
    EXPECT_EQ(world.score, 3);
    hero.active = 0;
    FillRow(8, 0, 39, kGround);
    for (int i = 0; i < 225; ++i) UpdateActors(hero);
    EXPECT_EQ(skull.dx, 0);
    UpdateActors(hero);
    EXPECT_EQ(skull.dx, 2);
    EXPECT_EQ(skull.active, 1);
    // Second stomp: counted, not paid.
    PlaceHero(skull.x + 1, skull.y - 8);
    hero.vy = 8;
    UpdateActors(hero);
    EXPECT_EQ(skull.stompCount, 2);
    EXPECT_EQ(skull.savedDx, 2);
    EXPECT_EQ(world.score, 3);
}

TEST_F(ActorTouch, StompGivesAFullJumpOnlyWhenJumpIsFreshlyHeld) {
    Touch(ActorMasky, 8);
    Hold(false, false, true);
    UpdatePlayer(hero, controls);
    EXPECT_EQ(hero.jumpLatch, 1);
    EXPECT_EQ(hero.vy, kJumpSpeed + 1); // after one frame of gravity

    Touch(ActorMasky, 8);
    hero.jumpLatch = 1;
    UpdatePlayer(hero, controls);
    EXPECT_EQ(hero.vy, kHopSpeed + 1);
    EXPECT_EQ(hero.bounce, 0);
}

TEST_F(LiftMoving, BouncesAtTheTopAndAtTheBottomRow) {
    AddLift(48, 16);
    lifts[0].dir = -1;
    AddLift(80, 160);
    for (int i = 0; i < 16; ++i) UpdateLifts(hero);
    EXPECT_EQ(lifts[0].y, 0);
    EXPECT_EQ(lifts[0].dir, 1);
    EXPECT_EQ(lifts[1].y, 176);
    EXPECT_EQ(lifts[1].dir, -1);
    UpdateLifts(hero);
    EXPECT_EQ(lifts[0].y, 1);
    EXPECT_EQ(lifts[1].y, 175);
}

TEST_F(LiftMoving, TurnsOnAnyNonEmptyCell) {
    for (TileCode code : {kGround, tile::Spikes, tile::Explosive, BusyCell, TileCode{0xF9}, tile::PushBlock}) {
        MakeStage(10);
        SetTile(3, 7, code);
        AddLift(48, 64);
        for (int i = 0; i < 32; ++i) UpdateLifts(hero);
        EXPECT_EQ(lifts[0].y, 96) << code; // turned in front of the cell
        EXPECT_EQ(lifts[0].dir, -1) << code;
    }
}

TEST_F(LiftMoving, PassesThroughEmptyKindCodes) {
    for (TileCode code : {tile::Ring, tile::Water, tile::HiddenSpikes, tile::Gate}) {
        MakeStage(10);
        SetTile(3, 7, code);
        AddLift(48, 64);
        for (int i = 0; i < 48; ++i) UpdateLifts(hero);
        EXPECT_EQ(lifts[0].y, 112) << code;
    }
}

TEST_F(LiftMoving, LiftInTheBottomRowTurnsUpAtOnce) {
    AddLift(48, 176);
    UpdateLifts(hero);
    EXPECT_EQ(lifts[0].y, 175);
    EXPECT_EQ(lifts[0].dir, -1);
}

TEST_F(LiftMoving, AtMostSixtyFourLifts) {
    for (int i = 0; i < 70; ++i) AddLift(16 * i, 0);
    EXPECT_EQ(liftCount, kMaxLifts);
    EXPECT_EQ(lifts[63].x, 16 * 63);
    ClearLifts();
    EXPECT_EQ(liftCount, 0);
}

TEST_F(LiftMoving, LaterLiftOverridesAndRideNeedsADownwardSpeed) {
    AddLift(48, 144);
    AddLift(56, 144);
    // The hero stands where each lift's top will be after its next pixel down.
    auto ride = [this](int x, int vy) {
        hero.x = x;
        hero.y = lifts[0].y + 1 - 16;
        hero.vy = vy;
        UpdateLifts(hero);
        return hero.moverIndex;
    };
    PlaceHero(50, 0);
    EXPECT_EQ(ride(50, kStandingSpeed), 1);
    EXPECT_EQ(ride(50, 0), -1);
    EXPECT_EQ(ride(48 + 13, kStandingSpeed), 1); // beyond the reach of the first lift
    EXPECT_EQ(ride(56 - 12, kStandingSpeed), 0); // beyond the reach of the second
}

TEST_F(CameraScroll, StopsOnePixelShortOfTheLastColumn) {
    MakeStage(30); // 480 pixels: the view ends at x 159 + 319 = 478
    world.cameraX = 157;
    ScrollView(5);
    EXPECT_EQ(world.cameraX, 159);
}

TEST_F(CameraScroll, EachPixelRevealsTheColumnBeyondTheView) {
    SetTile(27, 10, tile::MaskySpawn);
    world.cameraX = 94;
    ScrollView(1);
    EXPECT_EQ(ActiveActors(), 0);
    ScrollView(2); // reveals 431, then 432 = 16 * 27
    ASSERT_EQ(OnlyActor(), 0);
    EXPECT_EQ(actors[0].x, 432);
    EXPECT_EQ(world.cameraX, 97);
}

TEST_F(CameraScroll, AtTheEndTheCameraStaysAndNothingIsRevealed) {
    MakeStage(30);
    SetTile(29, 5, tile::MaskySpawn);
    world.cameraX = 159;
    ScrollView(3);
    EXPECT_EQ(world.cameraX, 159);
    EXPECT_EQ(ActiveActors(), 0);
}

TEST_F(CameraScroll, ShortStageKeepsTheCameraBeforeItsStart) {
    MakeStage(10);
    world.cameraX = -320;
    ScrollView(320);
    EXPECT_EQ(world.cameraX, -161);
}

} // namespace
