// The hero: walking speeds and latches, jumping, pushing, lifts, tile interactions, doors, dying and falling out.
#include <string>

#include "world_test_stage.h"

namespace {

// A stage with a floor in the bottom row and the hero standing on it at x 32.
class Hero : public WorldStage {
protected:
    void SetUp() override {
        MakeStage(40);
        Floor();
        PlaceHero(32, 160);
        Frame(); // settles on the floor
    }
};

class HeroWalking : public Hero {};
class HeroJumping : public Hero {};
class HeroPushing : public Hero {};
class HeroOnLifts : public Hero {};
class HeroTouchingTiles : public Hero {};
class HeroDoorAndRings : public Hero {};
class HeroDying : public Hero {};

TEST_F(HeroWalking, StandingHeroStaysOnTheFloor) {
    for (int i = 0; i < 20; ++i) {
        Frame();
        EXPECT_EQ(hero.y, 160);
        EXPECT_EQ(hero.vy, kStandingSpeed);
    }
}

TEST_F(HeroWalking, WalksTwoPixelsAFrameAndOneWhileDownIsHeld) {
    Hold(false, true);
    Frame();
    EXPECT_EQ(hero.x, 34);
    Hold(false, true, false, true);
    Frame();
    EXPECT_EQ(hero.x, 35);
    Frame();
    EXPECT_EQ(hero.x, 36);
}

TEST_F(HeroWalking, OddXMovesOnePixelFirst) {
    hero.x = 33;
    Hold(false, true);
    Frame();
    EXPECT_EQ(hero.x, 34);
    Frame();
    EXPECT_EQ(hero.x, 36);
    hero.x = 41;
    Hold(true, false);
    Frame();
    EXPECT_EQ(hero.x, 40);
    Frame();
    EXPECT_EQ(hero.x, 38);
}

TEST_F(HeroWalking, ReleasedDirectionCarriesOnToAMultipleOfEight) {
    Hold(false, true, false, true);
    Frames(5);
    ASSERT_EQ(hero.x, 37);
    Release();
    Frame();
    EXPECT_EQ(hero.x, 38);
    Frame();
    EXPECT_EQ(hero.x, 40);
    Frames(3);
    EXPECT_EQ(hero.x, 40);
}

TEST_F(HeroWalking, ReleasedOnAMultipleOfEightStopsAtOnce) {
    Hold(false, true);
    Frames(4);
    ASSERT_EQ(hero.x, 40);
    Release();
    Frame();
    EXPECT_EQ(hero.x, 40);
}

TEST_F(HeroWalking, ReleasedLeftCarriesOnToo) {
    hero.x = 45;
    Hold(true, false);
    Frame();
    ASSERT_EQ(hero.x, 44);
    Release();
    Frames(4);
    EXPECT_EQ(hero.x, 40);
}

TEST_F(HeroWalking, WallStopsTheHeroAndItsTopRowNeverBlocks) {
    SetTile(4, 10, kGround);
    Hold(false, true);
    Frames(20);
    EXPECT_EQ(hero.x, 48);
    // A ledge reaching one pixel into the box from above does not stop walking.
    MakeStage(40);
    Floor();
    FillRow(9, 4, 6, kGround);
    PlaceHero(32, 160);
    hero.y = 159; // the top row of the box lies in row 9
    Hold(false, true);
    UpdatePlayer(hero, controls);
    EXPECT_EQ(hero.x, 34);
}

TEST_F(HeroWalking, NeverMoreThanOnePixelPastTheLeftEdgeOfTheView) {
    world.cameraX = 15;
    hero.x = 24;
    Hold(true, false);
    Frames(20);
    EXPECT_EQ(hero.x, 14);
}

TEST_F(HeroWalking, WalkImagesCycleInBothDirections) {
    Hold(false, true);
    std::string right;
    for (int i = 0; i < 12; ++i) {
        Frame();
        right += std::to_string(hero.frame);
    }
    EXPECT_EQ(right, "112223334441");
    MakeStage(40);
    Floor();
    PlaceHero(400, 160);
    Hold(true, false);
    std::string left;
    for (int i = 0; i < 12; ++i) {
        Frame();
        left += std::to_string(hero.frame);
    }
    // Negative counts: the division truncates toward zero, the & takes two's-complement bits.
    EXPECT_EQ(left, "558887776665");
}

TEST_F(HeroWalking, StandingPoseThenIdleAfterFiveHundredFrames) {
    Hold(true, false);
    Frames(4);
    ASSERT_EQ(hero.x, 24);
    Release();
    Frame();
    EXPECT_EQ(hero.frame, static_cast<int>(tile::HeroStandLeft));
    Hold(false, true);
    Frames(8);
    ASSERT_EQ(hero.x, 40);
    Release();
    Frames(500);
    EXPECT_EQ(hero.idleTimer, 500);
    EXPECT_EQ(hero.frame, static_cast<int>(tile::HeroStandRight));
    EXPECT_EQ(hero.walkCounter, 4);
    Frame();
    EXPECT_EQ(hero.frame, static_cast<int>(tile::HeroIdle));
    EXPECT_EQ(hero.walkCounter, 0);
}

TEST_F(HeroJumping, FullJumpRisesFiftyPixelsAndLandsAfterFortyThreeFrames) {
    Hold(false, false, true);
    int top = hero.y, frames = 0;
    do {
        Frame();
        Release();
        top = std::min(top, hero.y);
        ++frames;
    } while (hero.y != 160 && frames < 200);
    EXPECT_EQ(160 - top, 50);
    EXPECT_EQ(frames, 43);
}

TEST_F(HeroJumping, HeldJumpDoesNotJumpAgainAfterLanding) {
    Hold(false, false, true);
    Frames(43);
    ASSERT_EQ(hero.y, 160);
    for (int i = 0; i < 30; ++i) {
        Frame();
        EXPECT_EQ(hero.y, 160);
    }
    Release();
    Frame();
    Hold(false, false, true);
    Frame();
    EXPECT_LT(hero.y, 160);
}

TEST_F(HeroJumping, NoJumpInTheAir) {
    hero.y = 100;
    hero.vy = 0;
    Hold(false, false, true);
    Frame();
    EXPECT_GE(hero.vy, 1);
    EXPECT_EQ(hero.jumpLatch, 0);
}

TEST_F(HeroJumping, HeadHitBreaksABrickForOnePoint) {
    SetTile(2, 8, tile::Brick);
    Hold(false, false, true);
    Frames(4);
    EXPECT_EQ(hero.y, 144); // pushed under the brick
    EXPECT_EQ(hero.vy, kStandingSpeed);
    EXPECT_EQ(TileEffectRunning(32, 128, EffectBrick), 1);
    EXPECT_EQ(world.score, 1);
    Frame();
    EXPECT_EQ(TileAt(2, 8), 200u);
}

TEST_F(HeroJumping, HeadHitBumpsABumpBlock) {
    SetTile(2, 8, tile::BumpBlock);
    Hold(false, false, true);
    Frames(4);
    EXPECT_EQ(TileEffectRunning(32, 128, EffectBump), 1);
    EXPECT_EQ(world.score, 0);
}

TEST_F(HeroPushing, FourFramesOfWalkingIntoTheBlockStartThePush) {
    SetTile(3, 10, tile::PushBlock);
    Hold(false, true);
    Frames(3);
    EXPECT_EQ(world.pushCounter, 3);
    EXPECT_EQ(ActiveEffects(), 0);
    EXPECT_EQ(hero.x, 32);
    Frame();
    EXPECT_EQ(world.pushCounter, 0);
    EXPECT_EQ(TileEffectRunning(48, 160, EffectPushRight), 1);
    Frames(4);
    EXPECT_EQ(TileAt(4, 10), tile::PushBlock);
    EXPECT_EQ(TileAt(3, 10), 0u);
}

TEST_F(HeroPushing, PushingLeftMirrorsIt) {
    SetTile(1, 10, tile::PushBlock);
    Hold(true, false);
    Frames(4);
    EXPECT_EQ(TileEffectRunning(16, 160, EffectPushLeft), 1);
}

TEST_F(HeroPushing, CountSurvivesIdleFrames) {
    SetTile(3, 10, tile::PushBlock);
    Hold(false, true);
    Frames(2);
    Release();
    Frames(10);
    EXPECT_EQ(world.pushCounter, 2);
    Hold(false, true);
    Frames(2);
    EXPECT_EQ(TileEffectRunning(48, 160, EffectPushRight), 1);
}

TEST_F(HeroPushing, StepAwayClearsTheCount) {
    SetTile(3, 10, tile::PushBlock);
    Hold(false, true);
    Frames(3);
    Hold(true, false);
    Frame();
    EXPECT_EQ(world.pushCounter, 0);
    Hold(false, true);
    Frames(4); // one step back, then three pushes
    EXPECT_EQ(ActiveEffects(), 0);
    Frame();
    EXPECT_EQ(ActiveEffects(), 1);
}

TEST_F(HeroPushing, FailedTestClearsTheCount) {
    SetTile(3, 10, tile::PushBlock);
    Hold(false, true);
    Frames(3);
    SetTile(4, 10, kGround);
    Frame();
    EXPECT_EQ(world.pushCounter, 0);
    SetTile(4, 10, 0);
    Frame();
    EXPECT_EQ(world.pushCounter, 1);
}

TEST_F(HeroPushing, BlockWithAWallOrBlockBehindNeverMoves) {
    for (TileCode behind : {kGround, tile::PushBlock}) {
        SetUp();
        SetTile(3, 10, tile::PushBlock);
        SetTile(4, 10, behind);
        Hold(false, true);
        Frames(50);
        EXPECT_EQ(ActiveEffects(), 0);
        EXPECT_EQ(TileAt(3, 10), tile::PushBlock);
        EXPECT_EQ(hero.x, 32);
    }
}

TEST_F(HeroPushing, OnlyWhileStandingExactlyOnTheGrid) {
    SetTile(3, 9, tile::PushBlock); // a block at head height: the hero stands one row lower
    SetTile(3, 10, kGround);
    Hold(false, true);
    Frames(10);
    EXPECT_EQ(ActiveEffects(), 0);
}

TEST_F(HeroOnLifts, RidesALiftUpAndDown) {
    AddLift(48, 144);
    PlaceHero(48, 128);
    hero.vy = kStandingSpeed;
    for (int i = 0; i < 60; ++i) {
        Frame();
        ASSERT_EQ(hero.moverIndex, 0) << i;
        ASSERT_EQ(hero.y, lifts[0].y - 16) << i;
    }
    EXPECT_EQ(hero.dead, 0);
}

TEST_F(HeroOnLifts, JumpsOffALift) {
    AddLift(48, 144);
    PlaceHero(48, 128);
    hero.vy = kStandingSpeed;
    Frames(3);
    Hold(false, false, true);
    Frame();
    EXPECT_EQ(hero.jumpLatch, 1);
    EXPECT_EQ(hero.moverIndex, -1);
    EXPECT_LT(hero.vy, 0);
}

TEST_F(HeroOnLifts, RisingIntoACeilingSmashes) {
    for (TileCode ceiling : {kGround, tile::Spikes}) {
        SetUp();
        SetTile(3, 3, ceiling);
        AddLift(48, 96);
        lifts[0].dir = -1;
        PlaceHero(48, 80);
        hero.vy = kStandingSpeed;
        int frames = 0;
        while (!hero.dead && frames < 100) {
            Frame();
            ++frames;
        }
        EXPECT_EQ(frames, 16) << ceiling;
        EXPECT_EQ(hero.y, 64);
        EXPECT_STREQ(world.statusMessage, "SMASHED");
        EXPECT_EQ(hero.deathEffect, EffectSmashed);
        EXPECT_EQ(hero.x, 48); // the dying drift was skipped in that frame
    }
}

TEST_F(HeroOnLifts, DescendingLiftLeavesTheHeroOnTheGround) {
    SetTile(2, 9, kGround); // a ledge beside the shaft
    AddLift(48, 96);
    PlaceHero(40, 80);
    hero.vy = kStandingSpeed;
    Frames(32);
    EXPECT_EQ(hero.moverIndex, 0);
    EXPECT_EQ(hero.y, 112);
    Frames(16);
    ASSERT_EQ(lifts[0].y, 144);
    EXPECT_EQ(hero.y, 128);
    // The lift goes on down to the floor; the hero stays on the ledge.
    for (int i = 0; i < 16; ++i) {
        Frame();
        EXPECT_EQ(hero.y, 128);
        EXPECT_EQ(hero.moverIndex, -1);
    }
    EXPECT_EQ(lifts[0].y, 160);
    EXPECT_EQ(hero.dead, 0);
}

TEST_F(HeroOnLifts, DescendingLiftCrushesAHeroBelowIt) {
    SetTile(3, 11, kGround);
    AddLift(48, 112); // two rows above the floor: the hero stands between
    PlaceHero(44, 160);
    Frames(31); // the lift's bottom reaches the hero's head at y 144
    EXPECT_EQ(hero.dead, 0);
    Frame();
    EXPECT_EQ(hero.dead, 1);
    EXPECT_STREQ(world.statusMessage, "SMASHED");
}

TEST_F(HeroTouchingTiles, SpikesImpale) {
    SetTile(3, 10, tile::Spikes);
    Hold(false, true);
    Frame();
    EXPECT_EQ(hero.dead, 0);
    Frame(); // x 36: a probe two pixels inside the box reaches the spikes
    EXPECT_EQ(hero.dead, 1);
    EXPECT_STREQ(world.statusMessage, "IMPALED TO DEATH");
    EXPECT_EQ(hero.deathEffect, EffectImpaled);
    EXPECT_EQ(hero.x, 35); // drifting left from the frame of the kill
}

TEST_F(HeroTouchingTiles, HiddenSpikesComeOutUnderTheFeetAndImpaleNextFrame) {
    SetTile(3, 10, tile::HiddenSpikes);
    Hold(false, true);
    Frames(4);
    ASSERT_EQ(hero.x, 40);
    EXPECT_EQ(TileEffectRunning(48, 160, EffectSpikes), 1);
    EXPECT_EQ(hero.dead, 0);
    Release();
    Frame();
    EXPECT_EQ(hero.dead, 1);
    EXPECT_STREQ(world.statusMessage, "IMPALED TO DEATH");
}

TEST_F(HeroTouchingTiles, ExplosiveBlowsUpEvenWithAllSlotsBusy) {
    SetTile(2, 10, tile::Explosive);
    Frame();
    EXPECT_EQ(hero.dead, 1);
    EXPECT_STREQ(world.statusMessage, "BLOWN UP");
    EXPECT_EQ(hero.deathEffect, 0);
    EXPECT_EQ(TileEffectRunning(32, 160, EffectExplosion), 1);

    SetUp();
    SetTile(2, 10, tile::Explosive);
    FillEffectSlots();
    Frame();
    EXPECT_EQ(hero.dead, 1);
    EXPECT_STREQ(world.statusMessage, "BLOWN UP");
    EXPECT_EQ(TileEffectRunning(32, 160, EffectExplosion), 0);
    EXPECT_EQ(TileAt(2, 10), tile::Explosive);
}

TEST_F(HeroTouchingTiles, FirstHazardProbeDecides) {
    // Probes in order: top-left, top-right, bottom-right, bottom-left, two pixels inside the box.
    SetTile(2, 10, tile::Spikes);
    SetTile(3, 10, tile::Explosive);
    hero.x = 40;
    Frame();
    EXPECT_STREQ(world.statusMessage, "IMPALED TO DEATH");
    EXPECT_EQ(ActiveEffects(), 1); // the death animation only, no explosion

    SetUp();
    SetTile(2, 10, tile::Explosive);
    SetTile(3, 10, tile::Spikes);
    hero.x = 40;
    Frame();
    EXPECT_STREQ(world.statusMessage, "BLOWN UP");
    EXPECT_EQ(TileEffectRunning(32, 160, EffectExplosion), 1);
}

TEST_F(HeroTouchingTiles, MovingFromGateToGateShutsTheFirst) {
    SetTile(3, 10, tile::Gate);
    SetTile(4, 10, tile::Gate);
    hero.x = 48;
    Frame();
    EXPECT_EQ(hero.trapdoorX, 48);
    Hold(false, true);
    Frames(7);
    ASSERT_EQ(hero.x, 62);
    EXPECT_EQ(ActiveEffects(), 0); // the left edge is still on the first gate
    Frame();
    EXPECT_EQ(hero.trapdoorX, 64);
    EXPECT_EQ(hero.onTrapdoor, 1);
    EXPECT_EQ(TileEffectRunning(48, 160, EffectGate), 1);
}

TEST_F(HeroTouchingTiles, GateShutsBehindTheHero) {
    SetTile(3, 10, tile::Gate);
    Hold(false, true);
    Frame();
    EXPECT_EQ(hero.onTrapdoor, 1);
    EXPECT_EQ(hero.trapdoorX, 48);
    EXPECT_EQ(hero.trapdoorY, 160);
    Frames(14);
    ASSERT_EQ(hero.x, 62);
    EXPECT_EQ(ActiveEffects(), 0);
    Frame(); // x 64: off the gate
    EXPECT_EQ(hero.onTrapdoor, 0);
    EXPECT_EQ(TileEffectRunning(48, 160, EffectGate), 1);
    Frames(5);
    EXPECT_EQ(TileAt(3, 10), tile::GateShut);
}

TEST_F(HeroTouchingTiles, CheckpointMovesTheRestartPoint) {
    SetTile(3, 10, tile::Checkpoint);
    Hold(false, true);
    Frames(3);
    EXPECT_EQ(world.checkpointTaken, 0);
    Frame(); // x 40: the probe at x+8 enters the checkpoint
    EXPECT_EQ(world.restartX, 48);
    EXPECT_EQ(world.restartY, 160);
    EXPECT_EQ(world.checkpointTaken, 1);
    EXPECT_EQ(world.checkpointTouched, 1);
    EXPECT_EQ(TileEffectRunning(48, 160, EffectCheckpoint), 1);
}

TEST_F(HeroTouchingTiles, OnlyTheFirstCheckpointOfAnAttemptCounts) {
    SetTile(3, 10, tile::Checkpoint);
    SetTile(6, 10, tile::Checkpoint);
    Hold(false, true);
    Frames(32);
    ASSERT_EQ(hero.x, 96);
    EXPECT_EQ(world.restartX, 48);
    EXPECT_EQ(TileAt(6, 10), tile::Checkpoint);
}

TEST_F(HeroTouchingTiles, CheckpointWithoutAFreeSlotIsTakenButNotMarked) {
    SetTile(2, 10, tile::Checkpoint);
    FillEffectSlots();
    Frame();
    EXPECT_EQ(world.checkpointTaken, 1);
    EXPECT_EQ(world.checkpointTouched, 0);
}

TEST_F(HeroTouchingTiles, CrumblingFloorHoldsSixteenFramesThenGives) {
    SetTile(2, 11, tile::CrumblingFloor);
    SetTile(3, 11, tile::None);
    SetTile(1, 11, tile::None);
    Frame();
    EXPECT_EQ(TileEffectRunning(32, 176, EffectCrumble), 1);
    Frames(15);
    EXPECT_EQ(hero.y, 160);
    Frames(3);
    EXPECT_GT(hero.y, 160);
}

TEST_F(HeroTouchingTiles, ExtraLifeAndBonus) {
    SetTile(2, 10, tile::ExtraLife);
    Frame();
    EXPECT_EQ(world.lives, kStartLives + 1);
    Frame();
    EXPECT_EQ(TileAt(2, 10), 0u);
    EXPECT_EQ(world.lives, kStartLives + 1);

    SetTile(2, 10, tile::Bonus);
    Frame();
    EXPECT_EQ(TileAt(2, 10), tile::BonusTaken);
    EXPECT_EQ(world.score, 20);
    Frame();
    EXPECT_EQ(world.score, 20);
}

TEST_F(HeroTouchingTiles, ExtraLifeNeedsAFreeSlot) {
    SetTile(2, 10, tile::ExtraLife);
    FillEffectSlots();
    Frame();
    EXPECT_EQ(world.lives, kStartLives);
}

TEST_F(HeroTouchingTiles, NothingIsPickedUpAboveTheTopEdge) {
    SetTile(2, 0, tile::Ring);
    world.ringsLeft = 1;
    hero.y = -8;
    hero.vy = 0;
    Frame();
    EXPECT_EQ(TileAt(2, 0), tile::Ring);
    EXPECT_EQ(world.ringsLeft, 1);
}

// Rings at columns 4 and 6, a closed door at columns 10-11, rows 9-10.
class HeroDoorStage : public HeroDoorAndRings {
protected:
    void SetUp() override {
        Hero::SetUp();
        SetTile(4, 10, tile::Ring);
        SetTile(6, 10, tile::Ring);
        world.ringsLeft = world.ringsTotal = 2;
        world.doorCell = 10 * 12 + 9;
        SetTile(10, 9, tile::DoorClosedTopLeft);
        SetTile(11, 9, tile::DoorClosedTopRight);
        SetTile(10, 10, tile::DoorClosedBottomLeft);
        SetTile(11, 10, tile::DoorClosedBottomRight);
    }
};

TEST_F(HeroDoorStage, LastRingOpensTheDoorInTheLiveGridOnly) {
    Hold(false, true);
    while (hero.x < 60) Frame();
    EXPECT_EQ(world.ringsLeft, 1);
    EXPECT_EQ(world.score, 1);
    EXPECT_EQ(TileAt(4, 10), 0u);
    EXPECT_EQ(TileAt(10, 9), tile::DoorClosedTopLeft);
    while (hero.x < 92) Frame();
    EXPECT_EQ(world.ringsLeft, 0);
    EXPECT_EQ(world.score, 2);
    EXPECT_EQ(TileAt(10, 9), tile::DoorOpenTopLeft);
    EXPECT_EQ(TileAt(11, 9), tile::DoorOpenTopRight);
    EXPECT_EQ(TileAt(10, 10), tile::DoorOpenBottomLeft);
    EXPECT_EQ(TileAt(11, 10), tile::DoorOpenBottomRight);
    EXPECT_EQ(RestoreAt(10, 9), tile::DoorClosedTopLeft);
    EXPECT_EQ(RestoreAt(11, 10), tile::DoorClosedBottomRight);
}

TEST_F(HeroDoorStage, ExitOnlyThroughTheTopLeftPixel) {
    world.ringsLeft = 0;
    SetTile(11, 10, tile::DoorOpenBottomRight);
    hero.x = 168; // the box reaches 8 pixels into the exit cell
    Frame();
    EXPECT_EQ(hero.finished, 0);
    hero.x = 176;
    Frame();
    EXPECT_EQ(hero.finished, 1);
}

TEST_F(HeroDoorStage, ClosedDoorIsNoticedAndForgottenWhenItOpens) {
    SetTile(4, 10, 0);
    world.ringsLeft = 1;
    hero.x = 176;
    Frame();
    EXPECT_EQ(hero.atClosedDoor, 1);
    EXPECT_EQ(hero.finished, 0);
    hero.x = 96;
    Frame();
    EXPECT_EQ(world.ringsLeft, 0);
    EXPECT_EQ(hero.atClosedDoor, 0);
}

TEST_F(HeroDoorStage, RingWithoutAFreeSlotIsStillCountedOnce) {
    FillEffectSlots();
    hero.x = 64;
    Frames(5);
    EXPECT_EQ(world.ringsLeft, 1);
    EXPECT_EQ(world.score, 1);
    EXPECT_EQ(TileAt(4, 10), 0u);
}

TEST_F(HeroDoorStage, UncountedRingScoresButNeverTakesRingsLeftBelowZero) {
    world.ringsLeft = world.ringsTotal = 0; // both rings lay left of a checkpoint restart
    SetTile(10, 9, tile::DoorOpenTopLeft);
    hero.x = 64;
    Frames(2);
    EXPECT_EQ(world.score, 1);
    EXPECT_EQ(world.ringsLeft, 0);
    EXPECT_EQ(TileAt(4, 10), 0u);
    EXPECT_EQ(TileAt(10, 10), tile::DoorClosedBottomLeft) << "the door is not rewritten again";
}

TEST_F(HeroDoorAndRings, StageWithoutADoorWritesNothing) {
    SetTile(2, 10, tile::Ring);
    world.ringsLeft = 1;
    world.doorCell = -1;
    auto expected = levelMap.live;
    expected[2 * 12 + 10] = tile::None;
    Frames(2);
    EXPECT_EQ(world.ringsLeft, 0);
    EXPECT_EQ(levelMap.live, expected);
}

TEST_F(HeroDoorAndRings, DoorAtTheGridEdgeStaysInsideIt) {
    MakeStage(3);
    Floor();
    PlaceHero(0, 160);
    SetTile(0, 10, tile::Ring);
    world.ringsLeft = 1;
    world.doorCell = 2 * 12 + 11; // last column, bottom row
    Frame();
    for (int i = 0; i < 3 * 12; ++i) {
        if (i == world.doorCell) {
            EXPECT_EQ(levelMap.live[i], tile::DoorOpenTopLeft);
        } else {
            EXPECT_NE(levelMap.live[i], tile::DoorOpenBottomLeft) << i;
        }
    }
    EXPECT_EQ(TileAt(0, 0), 0u); // doorCell + 1 would have wrapped into column 3, row 0
}

TEST_F(HeroDying, FallingBelowTwoHundredFiftyEndsTheAttempt) {
    SetTile(3, 11, tile::None);
    hero.x = 48;
    int frames = 0;
    while (hero.active && frames < 200) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(hero.active, 0);
    EXPECT_GT(hero.y, kFellOutY);
    EXPECT_LE(hero.y, kFellOutY + 20);
    EXPECT_EQ(hero.idleTimer, 180);
    EXPECT_STREQ(world.statusMessage, "FELL TO DEATH");
    EXPECT_EQ(hero.dead, 0);
}

TEST_F(HeroDying, PlainDeathLeapsDriftsLeftAndLeavesPlay) {
    KillPlayer(hero, "X", 0);
    Frame();
    EXPECT_EQ(hero.y, 156); // -16 / 4
    EXPECT_EQ(hero.x, 31);
    int frames = 1;
    while (hero.active && frames < 1000) {
        Frame();
        ++frames;
    }
    EXPECT_EQ(hero.active, 0);
    EXPECT_GT(hero.y, kDeadGoneY);
    EXPECT_EQ(hero.x, 32 - frames);
}

TEST_F(HeroDying, DeadHeroIgnoresControls) {
    KillPlayer(hero, "X", EffectStabbed);
    Hold(false, true, true);
    Frames(10);
    EXPECT_EQ(hero.x, 22);
    EXPECT_EQ(hero.y, 160);
    EXPECT_EQ(world.cameraX, 0);
}

TEST_F(HeroWalking, CameraFollowsOneOrTwoPixels) {
    hero.x = 200;
    Frame();
    EXPECT_EQ(world.cameraX, 0);
    hero.x = 201;
    Frame();
    EXPECT_EQ(world.cameraX, 1);
    hero.x = 232;
    Frame();
    EXPECT_EQ(world.cameraX, 3);
}

} // namespace
