// Enemies: spawning into the 32 slots, walking, falling, stomps and deadly contact.
#include "world/actors.h"

#include "core/messages.h"
#include "core/sound.h"
#include "world/hero.h"
#include "world/level_map.h"
#include "world/score.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

constexpr int kActorTypeCount = 6;
// By type - 1: what the hero is told and how he dies on contact.
constexpr int kKillText[kActorTypeCount] = {TXT_STABBED_BY_MASKY, TXT_STOPPED_BY_BEETLE, TXT_HIT_BY_WINGEDEYE,
                                            TXT_HIT_BY_WINGEDEYE, TXT_EATEN_BY_ACIDFISH, TXT_KILLED_BY_SKULL};
constexpr int kKillEffect[kActorTypeCount] = {EffectStabbed, EffectCrushedByEnemy, EffectStabbed,
                                              EffectStabbed, EffectImpaled,        EffectCrushedByEnemy};

constexpr int kThirds = 3;     // actor falls are kept in thirds of a pixel
constexpr int kWalkSpeed = -1; // every actor starts walking left
constexpr int kSkullSpeed = -2;
constexpr int kLandedFallSpeed = 3;  // thirds of a pixel: a standing actor starts a fall at 1 pixel
constexpr int kMaskyGoneFrame = 120; // a stomped MASKY vanishes this many frames after the stomp
constexpr int kSkullRestFrames = 225;
constexpr int kStompedEyeFrames = 11;
constexpr int kStompPoints = 3;
constexpr int kHeroFallingSpeed = 7; // a standing hero has vy 7; stomping needs more
constexpr int kBehindRange = 250;    // an actor this far left of the view is dropped
constexpr int kAheadRange = 500;     // ... or this far right of it
constexpr int kBelowRange = 200;     // ... or this far down
// Stomp box: the hero's x within actor x-15 .. x+16 and his y within y-15 .. y-1.
constexpr int kStompLeft = 15;
constexpr int kStompRight = 16;
constexpr int kStompAbove = 15;
// Kill box, a little smaller than the tiles: x within x-12 .. x+13, y within y-9 .. y+10.
constexpr int kHitLeft = 12;
constexpr int kHitRight = 13;
constexpr int kHitAbove = 9;
constexpr int kHitBelow = 10;

bool IsWalkingType(int type)
{
    return type == ActorMasky || type == ActorBeetle || type == ActorSkull;
}

// A step sideways, or a turn when something is in the way.
void MoveSideways(Actor& a)
{
    const int probeX = a.dx > 0 ? a.x + kCellSize : a.x + a.dx;
    if (IsSolidAt(probeX, a.y) || IsSolidAt(probeX, a.y + kCellSize - 1))
        a.dx = -a.dx;
    else
        a.x += a.dx;
}

// SKULLs bridge one-cell gaps: ground beyond the gap counts as support.
bool SkullBridgesGap(const Actor& a)
{
    if (a.type != ActorSkull || a.dx == 0 || !IsGridAligned(a.x) || !IsGridAligned(a.y))
        return false;
    const int aheadX = a.dx < 0 ? a.x - 1 : a.x + kCellSize;
    return !IsSolidAt(aheadX, a.y) && IsSolidAt(aheadX, a.y + kCellSize);
}

// Walkers stand on the grid or fall, speeding up by a third of a pixel per frame.
void ApplyGravity(Actor& a)
{
    const bool supported =
        IsSolidAt(a.x, a.y + kCellSize) || IsSolidAt(a.x + kCellSize - 1, a.y + kCellSize) || SkullBridgesGap(a);
    if (supported) {
        a.vy = kLandedFallSpeed;
        a.y &= ~(kCellSize - 1);
    } else {
        a.y += a.vy / kThirds;
        a.vy += 1;
    }
}

// The hero lands on the actor from above.
void Stomp(Actor& a, Player& player)
{
    switch (a.type) {
    case ActorMasky:
        a.dx = 0;
        a.timer = 0;
        PlaySound(SoundBlubb);
        AddScore(kStompPoints);
        break;
    case ActorWingedEye:
        PlaySound(SoundBat);
        a.timer = 0;
        a.dx = 0;
        a.type = ActorWingedEyeStomped;
        AddScore(kStompPoints);
        break;
    case ActorSkull:
        PlaySound(SoundKlack);
        a.savedDx = a.dx;
        a.timer = 0;
        a.dx = 0;
        a.stompCount += 1;
        if (a.stompCount == 1)
            AddScore(kStompPoints); // a SKULL pays only once
        break;
    default:
        return;
    }
    player.bounce = 1;
}

// Stomp or kill when the hero touches a moving actor.
void TouchHero(Actor& a, Player& player)
{
    const int px = player.x, py = player.y;
    if (a.stompable && player.vy > kHeroFallingSpeed && px <= a.x + kStompRight && px >= a.x - kStompLeft && py < a.y &&
        py >= a.y - kStompAbove) {
        Stomp(a, player);
    } else if (px <= a.x + kHitRight && px >= a.x - kHitLeft && py <= a.y + kHitBelow && py >= a.y - kHitAbove) {
        if (a.type < 1 || a.type > kActorTypeCount)
            return;
        KillPlayer(player, GetText(kKillText[a.type - 1]), kKillEffect[a.type - 1]);
        PlaySound(SoundAj);
    }
}

void UpdateActor(Actor& a, Player& player)
{
    a.timer += 1;
    if (IsSolidAt(a.x + kCellSize / 2, a.y + kCellSize / 2)) {
        a.active = 0; // buried, for example under a fallen block
    } else if (a.dx != 0 && IsGridAligned(a.y)) {
        MoveSideways(a);
    } else if (a.type == ActorMasky && a.timer == kMaskyGoneFrame) {
        a.active = 0;
    }
    if (IsWalkingType(a.type))
        ApplyGravity(a);
    if (player.active && !player.dead && a.dx != 0)
        TouchHero(a, player);
    if (a.type == ActorSkull && a.dx == 0 && a.timer > kSkullRestFrames)
        a.dx = -a.savedDx;
    if (a.type == ActorWingedEyeStomped && a.timer > kStompedEyeFrames)
        a.active = 0;
    if (world.cameraX > a.x + kBehindRange || world.cameraX < a.x - kAheadRange || a.y > kBelowRange)
        a.active = 0;
}

} // namespace

void ClearActors()
{
    for (Actor& a : actors)
        a = Actor{};
}

int SpawnActor(int x, int y, int type)
{
    for (Actor& a : actors) {
        if (a.active)
            continue;
        a = Actor{};
        a.active = 1;
        a.x = x;
        a.y = y;
        a.type = type;
        a.dx = type == ActorSkull ? kSkullSpeed : kWalkSpeed;
        a.savedDx = type == ActorSkull ? kSkullSpeed : 0;
        a.stompable = (type == ActorMasky || type == ActorWingedEye || type == ActorSkull) ? 1 : 0;
        return 1;
    }
    return 0;
}

void UpdateActors(Player& player)
{
    for (Actor& a : actors)
        if (a.active)
            UpdateActor(a, player);
}
