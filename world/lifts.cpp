// Lifts: platforms bouncing up and down between obstacles, carrying or crushing the hero.
#include "world/lifts.h"

#include "core/messages.h"
#include "world/hero.h"
#include "world/level_map.h"
#include "world/score.h"
#include "world/tile_effects.h"

namespace {
constexpr int kLowestLiftY = kStageHeight - kCellSize; // 176: a lift in the bottom row turns
constexpr int kRideLeft = 11;                          // the hero rides while his x is within x-11 .. x+12
constexpr int kRideRight = 12;

// Moves one lift a pixel and turns it at the top, the bottom and anything in its way.
void MoveLift(Lift& lift)
{
    // A lift made from a marker in the bottom row would start below y 176 and
    // leave the stage; it turns up at once instead.
    if (lift.dir > 0 && lift.y >= kLowestLiftY)
        lift.dir = -1;
    else if (lift.dir < 0 && lift.y <= 0)
        lift.dir = 1;
    lift.y += lift.dir;
    if (!IsGridAligned(lift.y))
        return;
    if (lift.y == 0 || lift.y == kLowestLiftY || KindOf(TileAtPixel(lift.x, lift.y + kCellSize * lift.dir)) != Empty)
        lift.dir = -lift.dir;
}
} // namespace

void ClearLifts()
{
    liftCount = 0;
}

void AddLift(int x, int y)
{
    if (liftCount >= kMaxLifts)
        return;
    lifts[liftCount] = Lift{x, y, 1};
    liftCount += 1;
}

void UpdateLifts(Player& player)
{
    player.moverIndex = -1;
    for (int i = 0; i < liftCount; ++i) {
        Lift& lift = lifts[i];
        MoveLift(lift);
        if (!player.active || player.dead)
            continue;
        const int px = player.x, py = player.y, pvy = player.vy;
        const bool inReach = px <= lift.x + kRideRight && px >= lift.x - kRideLeft;
        const int top = lift.y - kCellSize;
        // A descending lift does not pull down a hero it has just set on the
        // ground; he would otherwise sink into the floor beside the shaft.
        const bool onGround =
            IsGridAligned(py) && (IsSolidAt(px, py + kCellSize) || IsSolidAt(px + kCellSize - 1, py + kCellSize));
        if (inReach && !(lift.dir > 0 && onGround) && pvy >= 1 && py <= top + pvy / kSpeedQuarters &&
            py >= top - pvy / kSpeedQuarters) {
            player.moverIndex = i; // a later lift overrides an earlier one
        } else if (inReach && py > lift.y && lift.dir > 0 && IsGridAligned(lift.y) && lift.y < kLowestLiftY &&
                   KindOf(TileAtPixel(lift.x, lift.y + 2 * kCellSize)) != Empty) {
            KillPlayer(player, GetText(TXT_SMASHED), EffectSmashed);
        }
    }
}
