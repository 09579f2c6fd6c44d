// The hero's frame: walking, pushing, jumping, riding lifts, touching tiles, scrolling and dying.
#include "world/player.h"

#include "core/messages.h"
#include "core/sound.h"
#include "world/camera.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/score.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

constexpr int kRight = 1;
constexpr int kLeft = -1;
constexpr int kWalkSpeed = 2;
constexpr int kSlowSpeed = 1;      // holding down, or getting back to an even x
constexpr int kLatchGrid = 8;      // a released direction carries on to a multiple of 8
constexpr int kWalkFrameTicks = 3; // frames per walk image
constexpr int kWalkRightFrame = 1; // images 1-4
constexpr int kWalkLeftFrame = 5;  // images 5-8
constexpr int kLastWalkRightFrame = 4;
constexpr int kLastWalkLeftFrame = 8;
constexpr int kHazardInset = 2; // hazard probes sit 2 pixels inside the box
constexpr int kHalf = 8;
constexpr int kLastPixel = kCellSize - 1;
constexpr int kCheckpointProbeY = 14; // near the feet
constexpr int kScrollFastX = 230;     // hero this far into the view: scroll 2 pixels
constexpr int kScrollSlowX = 200;     // ... this far: 1 pixel
constexpr int kLastPlayfieldY = kStageHeight - 1;
constexpr int kRingPoints = 1;
constexpr int kBrickPoints = 1;
constexpr int kBonusPoints = 20;

bool StandsOnGround(const Player& p)
{
    return IsSolidAt(p.x, p.y + kCellSize) || IsSolidAt(p.x + kLastPixel, p.y + kCellSize);
}

// Half speed while ducking, and until x is even again.
int WalkSpeed(const Player& p, const PlayerControls& controls)
{
    if (controls.down || (p.x & 1))
        return kSlowSpeed;
    return kWalkSpeed;
}

// A held direction sets its latch; a released one keeps it to the next multiple of 8.
void UpdateRunLatches(const Player& p, const PlayerControls& controls)
{
    if (controls.left || controls.right) {
        world.runRightLatch = 0;
        world.runLeftLatch = 0;
    }
    const bool onLatchGrid = (p.x & (kLatchGrid - 1)) == 0;
    world.runRightLatch = controls.right ? 1 : (world.runRightLatch && !onLatchGrid);
    world.runLeftLatch = controls.left ? 1 : (world.runLeftLatch && !onLatchGrid);
}

// The push test: standing exactly on the grid against a block with a free cell behind it.
// dir is kRight or kLeft.
void TryPush(const Player& p, int dir)
{
    const int blockX = p.x + dir * kCellSize;
    const int behindX = p.x + dir * 2 * kCellSize;
    if (IsGridAligned(p.x) && IsGridAligned(p.y) && IsSolidAt(p.x, p.y + kCellSize) && IsPushableAt(blockX, p.y) &&
        !IsSolidAt(behindX, p.y)) {
        world.pushCounter += 1;
        if (world.pushCounter >= kPushFrames) {
            if (StartTileEffect(blockX, p.y, dir > 0 ? EffectPushRight : EffectPushLeft))
                PlaySound(SoundKlack);
            world.pushCounter = 0;
        }
    } else {
        world.pushCounter = 0;
    }
}

// One step in a direction, or a push when blocked. The side probes start one
// pixel below the top of the box and end at y+16-speed.
void Walk(Player& p, int dir, int speed)
{
    const int probeX = dir > 0 ? p.x + kCellSize : p.x - 1;
    if (!IsSolidAt(probeX, p.y + 1) && !IsSolidAt(probeX, p.y + kCellSize - speed)) {
        p.x += dir * speed;
        world.pushCounter = 0;
        return;
    }
    if (dir > 0)
        world.runRightLatch = 0;
    else
        world.runLeftLatch = 0;
    TryPush(p, dir);
}

// The walk images while a latch carries the hero; standing, then idle, when none does.
void AnimateWalk(Player& p)
{
    if (world.runRightLatch) {
        p.walkCounter += 1;
        p.frame = ((p.walkCounter / kWalkFrameTicks) & 3) + kWalkRightFrame;
        p.idleTimer = 0;
    } else if (world.runLeftLatch) {
        p.walkCounter -= 1;
        p.frame = ((p.walkCounter / kWalkFrameTicks) & 3) + kWalkLeftFrame;
        p.idleTimer = 0;
    } else {
        p.idleTimer += 1;
        if (p.idleTimer <= kIdleFrames) {
            if (p.frame >= kWalkRightFrame && p.frame <= kLastWalkRightFrame)
                p.frame = tile::HeroStandRight;
            else if (p.frame >= kWalkLeftFrame && p.frame <= kLastWalkLeftFrame)
                p.frame = tile::HeroStandLeft;
        } else {
            p.frame = tile::HeroIdle;
            p.walkCounter = 0;
        }
    }
}

// A jump needs ground, a fresh stomp or a lift under the hero, and a jump control pressed anew.
void TryJump(Player& p, const PlayerControls& controls)
{
    if (!controls.jump || p.jumpLatch)
        return;
    if (!StandsOnGround(p) && !p.bounce && p.moverIndex < 0)
        return;
    p.vy = kJumpSpeed;
    p.jumpLatch = 1;
    p.bounce = 0;
    p.moverIndex = -1;
}

// Riding a lift; false when the lift crushed the hero into a ceiling.
bool RideLift(Player& p, const Lift& lift)
{
    p.y = lift.y - kCellSize;
    if (IsGridAligned(p.y)) {
        const int above = p.y - kCellSize;
        if (lift.dir < 0 && (IsSolidAt(p.x, above) || IsSolidAt(p.x + kLastPixel, above) || HazardAt(p.x, above) ||
                             HazardAt(p.x + kLastPixel, above))) {
            KillPlayer(p, GetText(TXT_SMASHED), EffectSmashed);
            return false;
        }
        if (lift.dir > 0 && StandsOnGround(p)) {
            p.y &= ~(kCellSize - 1); // a lift going down leaves the hero on the ground
            p.moverIndex = -1;
        }
    }
    p.vy = kStandingSpeed;
    return true;
}

// Falling or riding; false when the hero was crushed and the rest of the frame is skipped.
bool MoveVertically(Player& p)
{
    if (p.moverIndex >= 0 && p.moverIndex < liftCount)
        return RideLift(p, lifts[p.moverIndex]);
    p.y += p.vy / kSpeedQuarters;
    p.vy += 1;
    if (StandsOnGround(p)) {
        p.vy = kStandingSpeed; // sinks a pixel next frame and is put back
        p.y &= ~(kCellSize - 1);
    }
    return true;
}

// Spikes and explosives under any of the four inner corners.
void TouchHazards(Player& p)
{
    const int probes[4][2] = {{p.x + kHazardInset, p.y + kHazardInset},
                              {p.x + kLastPixel - kHazardInset, p.y + kHazardInset},
                              {p.x + kLastPixel - kHazardInset, p.y + kLastPixel - kHazardInset},
                              {p.x + kHazardInset, p.y + kLastPixel - kHazardInset}};
    for (const auto& probe : probes) {
        const TileCode code = HazardAt(probe[0], probe[1]);
        if (code == tile::None)
            continue;
        if (code == tile::Explosive) {
            if (StartTileEffect(probe[0], probe[1], EffectExplosion))
                PlaySound(SoundKrack);
            KillPlayer(p, GetText(TXT_BLOWN_UP), 0);
        } else {
            KillPlayer(p, GetText(TXT_IMPALED), EffectImpaled);
        }
        return;
    }
}

// A gate shuts behind the hero once he has left its cell.
void PassGates(Player& p)
{
    const int midY = p.y + kHalf;
    int gateX = 0, gateY = CellStart(midY);
    int overlap = 1;
    if (TileAtPixel(p.x, midY) == tile::Gate)
        gateX = CellStart(p.x);
    else if (TileAtPixel(p.x + kLastPixel, midY) == tile::Gate)
        gateX = CellStart(p.x + kLastPixel);
    else
        overlap = 0;

    if (p.onTrapdoor && (!overlap || gateX != p.trapdoorX || gateY != p.trapdoorY)) {
        if (StartTileEffect(p.trapdoorX, p.trapdoorY, EffectGate))
            PlaySound(SoundTrdoor);
    }
    p.onTrapdoor = overlap;
    if (overlap) {
        p.trapdoorX = gateX;
        p.trapdoorY = gateY;
    }
}

// The last ring opens the 2x2 exit door in the live grid only. The door cells are
// found by column and row so a door at the grid's edge never wraps or leaves it.
void OpenExitDoor()
{
    if (world.doorCell < 0)
        return; // the stage has no door
    const int c = world.doorCell / kRows, r = world.doorCell % kRows;
    SetLiveOnly(c, r, tile::DoorOpenTopLeft);
    SetLiveOnly(c + 1, r, tile::DoorOpenTopRight);
    SetLiveOnly(c, r + 1, tile::DoorOpenBottomLeft);
    SetLiveOnly(c + 1, r + 1, tile::DoorOpenBottomRight);
}

// Rings, extra lives and bonuses under the hero's centre.
void PickUp(Player& p)
{
    const int cx = CellStart(p.x + kHalf), cy = CellStart(p.y + kHalf);
    const TileCode code = TileAtPixel(cx, cy);
    if (code == tile::ExtraLife) {
        if (StartTileEffect(cx, cy, EffectPickUp))
            GainLife();
    } else if (code == tile::Ring) {
        if (StartTileEffect(cx, cy, EffectPickUp))
            PlaySound(SoundChew);
        // With no effect slot free the ring would be counted again next frame.
        if (!TileEffectRunning(cx, cy, EffectPickUp))
            SetTile(cx >> kCellShift, cy >> kCellShift, tile::None);
        AddScore(kRingPoints);
        // A ring that was not counted at load (left of a checkpoint restart, reachable
        // in a stage too short for the camera to pass it) scores but counts nothing.
        if (world.ringsLeft > 0) {
            world.ringsLeft -= 1;
            if (world.ringsLeft == 0) {
                PlaySound(SoundKlack);
                OpenExitDoor();
                p.atClosedDoor = 0;
            }
        }
    } else if (code == tile::Bonus) {
        SetTile(cx >> kCellShift, cy >> kCellShift, tile::BonusTaken);
        PlaySound(SoundChew);
        AddScore(kBonusPoints);
    }
}

// The first checkpoint touched in an attempt becomes the restart point.
void TouchCheckpoint(Player& p)
{
    const int px = p.x + kHalf, py = p.y + kCheckpointProbeY;
    if (world.checkpointTouched || TileAtPixel(px, py) != tile::Checkpoint)
        return;
    world.restartX = CellStart(px);
    world.restartY = CellStart(py);
    world.checkpointTaken = 1;
    if (StartTileEffect(world.restartX, world.restartY, EffectCheckpoint)) {
        PlaySound(SoundKnirk);
        world.checkpointTouched = 1;
    }
}

// Bricks break and bump blocks bounce when the head hits them.
void HitHead(Player& p)
{
    if (!IsSolidAt(p.x, p.y) && !IsSolidAt(p.x + kLastPixel, p.y))
        return;
    const int hx = p.x + kHalf;
    const TileCode code = TileAtPixel(hx, p.y);
    if (code == tile::Brick) {
        if (StartTileEffect(hx, p.y, EffectBrick))
            PlaySound(SoundKrack);
        AddScore(kBrickPoints);
    } else if (code == tile::BumpBlock) {
        if (StartTileEffect(hx, p.y, EffectBump))
            PlaySound(SoundKlonk);
    }
    p.vy = kStandingSpeed;
    p.y = (p.y + kLastPixel) & ~(kCellSize - 1);
}

// Standing on a crumbling floor starts it crumbling; the middle point decides first.
void StandOnCrumblingFloor(Player& p)
{
    const int feetY = p.y + kCellSize;
    auto crumble = [feetY](int x) {
        if (TileAtPixel(x, feetY) == tile::CrumblingFloor)
            StartTileEffect(x, feetY, EffectCrumble);
    };
    crumble(p.x + kHalf);
    if (IsSolidAt(p.x + kHalf, feetY))
        return;
    crumble(p.x);
    crumble(p.x + kLastPixel);
}

// The hero against the grid, in a fixed order; each test reads the grid as the previous ones left it.
void TouchTiles(Player& p)
{
    if (TileAtPixel(p.x, p.y) == tile::DoorOpenBottomRight)
        p.finished = 1;
    if (TileAtPixel(p.x, p.y) == tile::DoorClosedBottomRight)
        p.atClosedDoor = 1;
    TouchHazards(p);
    PassGates(p);
    const int feetX = p.x + kHalf, feetY = p.y + kLastPixel;
    if (TileAtPixel(feetX, feetY) == tile::HiddenSpikes) {
        if (StartTileEffect(feetX, feetY, EffectSpikes))
            PlaySound(SoundBoink);
    }
    PickUp(p);
    TouchCheckpoint(p);
    HitHead(p);
    StandOnCrumblingFloor(p);
}

// The camera follows when the hero gets far enough into the view.
void FollowHero(const Player& p, int cameraX)
{
    if (p.x > cameraX + kScrollFastX)
        ScrollView(kWalkSpeed);
    else if (p.x > cameraX + kScrollSlowX)
        ScrollView(kSlowSpeed);
}

// A dead hero drifts out of the stage; a living one below the playfield has fallen out.
void FallOut(Player& p)
{
    if (p.dead) {
        p.y += p.vy / kSpeedQuarters;
        p.x -= 1; // the dead hero drifts left
        if (p.deathEffect == 0)
            p.vy += 1; // a running death effect holds him in place
        if (p.y > kDeadGoneY)
            p.active = 0;
    } else if (p.y > kFellOutY) {
        EndAttempt(p, GetText(TXT_FELL), 0);
    }
}

} // namespace

void UpdatePlayer(Player& p, const PlayerControls& controls)
{
    const int cameraX = world.cameraX;
    if (!p.dead) {
        const int speed = WalkSpeed(p, controls);
        UpdateRunLatches(p, controls);
        if (world.runRightLatch)
            Walk(p, kRight, speed);
        // The left edge of the view is a wall.
        if (world.runLeftLatch && p.x > cameraX)
            Walk(p, kLeft, speed);
        AnimateWalk(p);
        TryJump(p, controls);
        if (p.bounce) { // hop off a stomped actor
            p.vy = kHopSpeed;
            p.bounce = 0;
        }
        if (!MoveVertically(p))
            return;
        if (p.y >= 0 && p.y <= kLastPlayfieldY)
            TouchTiles(p);
        if (!controls.jump)
            p.jumpLatch = 0;
        FollowHero(p, cameraX);
    }
    FallOut(p);
}
