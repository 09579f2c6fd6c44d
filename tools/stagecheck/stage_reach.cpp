// The standing-place search over a stage: macro moves from snapshots on the headless player.
#include "stage_reach.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <unordered_map>

#include "core/geometry.h"
#include "platform/input.h"
#include "stage_runs.h"
#include "stage_sim.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/world_state.h"

namespace {

constexpr int kNoLift = 1000;

// A move: wait with nothing held, then hold a direction and the jump button for a while,
// then let go and give the hero up to kSettleFrames to come to rest.
struct Move {
    int wait;
    uint32_t direction;
    int directionFrames;
    int jumpFrames;
    int jumpFrom = 0; // frames of walking before the jump, for take-offs between the 8-pixel steps
    // With a lift near, the wait lasts until a lift's top is this many pixels below the hero's
    // feet (negative: above them) instead; kNoLift plays the fixed wait.
    int liftGap = kNoLift;
    int directionFrom = 0; // frames of the jump before the direction is held, to rise clear of what is beside
};

constexpr int kStep = 8;           // a released direction carries the hero to a multiple of 8
constexpr int kFullJump = 24;      // holding jump this long gives the highest jump
constexpr int kSettleFrames = 150; // enough to land from the top of the playfield, or ride a lift a while
constexpr int kCameraBucket = 48;  // views this close leave the same way back to the left
constexpr int kLiftBucket = 16;
constexpr int kMaxPlaces = 12000;
// A lift this close beside the hero can be boarded; a whole cycle of the longest lift is
// 2 * 176 frames, so waiting this long sees it at every height.
constexpr int kLiftReach = 3 * kCellSize;
constexpr int kLiftWaitFrames = 360;

const Move kMoves[] = {{0, kButtonRight, 4, 0},
                       {0, kButtonLeft, 4, 0},
                       {0, kButtonRight, 16, 0},
                       {0, kButtonLeft, 16, 0},
                       // Long walks: a run carries the hero over gaps a short step falls into.
                       {0, kButtonRight, 28, 0},
                       {0, kButtonLeft, 28, 0},
                       {0, kButtonRight, 48, 0},
                       {0, kButtonLeft, 48, 0},
                       {0, 0, 0, kFullJump},
                       {0, kButtonRight, 6, 24},
                       {0, kButtonLeft, 6, 24},
                       {0, kButtonRight, 14, 24},
                       {0, kButtonLeft, 14, 24},
                       {0, kButtonRight, 40, 24},
                       {0, kButtonLeft, 40, 24},
                       {0, kButtonRight, 10, 6},
                       {0, kButtonLeft, 10, 6},
                       // Waits before stepping or jumping on: lifts come and go, crumbling floors fall, enemies pass.
                       {40, kButtonRight, 8, 0},
                       {40, kButtonLeft, 8, 0},
                       {40, kButtonRight, 40, 24},
                       {40, kButtonLeft, 40, 24},
                       {90, kButtonRight, 8, 0},
                       {90, kButtonLeft, 8, 0},
                       {90, kButtonRight, 40, 24},
                       {90, kButtonLeft, 40, 24},
                       {90, 0, 0, kFullJump},
                       {16, 0, 0, 0},
                       // Take-offs 2, 4 and 6 pixels on: gaps under a low ceiling leave no room for a high jump.
                       {0, kButtonRight, 24, 8, 1},
                       {0, kButtonRight, 24, 8, 2},
                       {0, kButtonRight, 24, 8, 3},
                       {0, kButtonLeft, 24, 8, 1},
                       {0, kButtonLeft, 24, 8, 2},
                       {0, kButtonLeft, 24, 8, 3},
                       // Lifts keep their own time: wait for one level with the feet, a little below
                       // them (to drop onto) or above them (to jump onto), however long it takes.
                       {0, kButtonRight, 16, 0, 0, 0},
                       {0, kButtonLeft, 16, 0, 0, 0},
                       {0, kButtonRight, 16, 0, 0, 2 * kCellSize},
                       {0, kButtonLeft, 16, 0, 0, 2 * kCellSize},
                       {0, kButtonRight, 14, 24, 0, -2 * kCellSize},
                       {0, kButtonLeft, 14, 24, 0, -2 * kCellSize},
                       // Jumps steered only once the hero has risen: spikes right beside his feet.
                       {0, kButtonRight, 30, 24, 0, kNoLift, 6},
                       {0, kButtonLeft, 30, 24, 0, kNoLift, 6},
                       {0, kButtonRight, 30, 24, 0, kNoLift, 12},
                       {0, kButtonLeft, 30, 24, 0, kNoLift, 12}};

bool AtDoor()
{
    const Player& hero = SimHero();
    return hero.finished || hero.atClosedDoor;
}

bool AtRest()
{
    const Player& hero = SimHero();
    if (!hero.active || hero.dead || world.runLeftLatch || world.runRightLatch || hero.vy != kStandingSpeed)
        return false;
    return hero.moverIndex >= 0 || hero.y % kCellSize == 0;
}

constexpr int kNearColumns = 3;   // the stretch of the grid that tells two visits of a place apart
constexpr int kMaxVariants = 12;  // visits of one place with different grids around it that are searched
constexpr int kCrateColumns = 12; // crates this far either side tell two visits apart

void Mix(uint64_t& key, uint64_t value)
{
    key = (key ^ value) * 0x100000001B3ull; // FNV-1a over whole values
}

// A place and what matters for leaving it: the cells near the hero that block or kill (so a
// crumbled bridge, a broken brick, a pushed crate or a shut gate makes another place, while
// taken rings do not), the side of a close enemy, the view's left edge and a ridden lift.
uint64_t PositionKeyOf()
{
    const Player& hero = SimHero();
    uint64_t key = 0xCBF29CE484222325ull;
    Mix(key, static_cast<uint64_t>(hero.x / kStep));
    Mix(key, static_cast<uint64_t>(hero.y / kCellSize + 1));
    Mix(key, static_cast<uint64_t>(world.cameraX / kCameraBucket));
    if (hero.moverIndex >= 0) {
        const Lift& lift = lifts[hero.moverIndex];
        Mix(key, static_cast<uint64_t>(hero.moverIndex + 1));
        Mix(key, static_cast<uint64_t>(lift.y / kLiftBucket + 1) << 1 | (lift.dir > 0));
    }
    return key;
}

uint64_t KeyOf(uint64_t key)
{
    const Player& hero = SimHero();
    const int column = hero.x / kCellSize;
    // Crates further on: one pushed ahead can be what the way on needs (a step to climb, a
    // lid over spikes), so two visits with a crate in another cell are two places.
    const std::vector<TileCode>& cells = levelMap.live;
    const int from = std::max(0, column - kCrateColumns) * kRows;
    const int to = std::min(levelMap.columns, column + kCrateColumns + 1) * kRows;
    for (int i = from; i < to; ++i)
        if (KindOf(cells[i]) == Pushable)
            Mix(key, static_cast<uint64_t>(i) + 1);
    uint64_t bits = 0;
    for (int c = column - kNearColumns; c <= column + kNearColumns; ++c) {
        for (int r = 0; r < kRows; ++r) {
            const int x = c * kCellSize + kCellSize / 2, y = r * kCellSize + kCellSize / 2;
            bits = bits << 2 | (IsSolidAt(x, y) ? 1u : 0u) << 1 | (HazardAt(x, y) ? 1u : 0u);
            if (r % 4 == 3) {
                Mix(key, bits);
                bits = 0;
            }
        }
    }
    return key;
}

struct Node {
    SimSnapshot snapshot;
    StandPlace place;
    std::vector<int> next;
    bool way = false;   // leads to the door
    bool alive = false; // the hero can stay alive from here: a hero doomed whatever he does is no dead end
    bool restsHere = false; // some move ends at rest in this same place
};

enum class Outcome { Door, Death, Rest, Lost };

// Plays frames with buttons; stops early at the door or a death.
Outcome Play(uint32_t buttons, int count, long& frames)
{
    for (int f = 0; f < count; ++f) {
        StepSimFrame(buttons);
        ++frames;
        if (AtDoor())
            return Outcome::Door;
        if (SimFailed())
            return Outcome::Death;
    }
    return Outcome::Rest;
}

constexpr int kHighestPlace = -2 * kCellSize; // above this a hero wedged in a wall climbs out of the stage

// At rest for two frames running: a rising or falling hero passes the standing speed on an
// aligned row only for a single frame.
Outcome Settle(long& frames)
{
    int lastY = SimHero().y;
    bool wasAtRest = false;
    for (int f = 0; f <= kSettleFrames; ++f) {
        const bool atRest = AtRest();
        if (atRest && wasAtRest && (SimHero().y == lastY || SimHero().moverIndex >= 0))
            return SimHero().y >= kHighestPlace ? Outcome::Rest : Outcome::Lost;
        wasAtRest = atRest;
        lastY = SimHero().y;
        const Outcome o = Play(0, 1, frames);
        if (o != Outcome::Rest)
            return o;
    }
    return Outcome::Lost;
}

// A lift beside the hero whose top is gap pixels below his feet.
bool LiftAt(int gap)
{
    const Player& hero = SimHero();
    for (int i = 0; i < liftCount; ++i)
        if (std::abs(lifts[i].x - hero.x) <= kLiftReach && lifts[i].y - (hero.y + kCellSize) == gap)
            return true;
    return false;
}

bool LiftNear()
{
    const Player& hero = SimHero();
    for (int i = 0; i < liftCount; ++i)
        if (std::abs(lifts[i].x - hero.x) <= kLiftReach)
            return true;
    return false;
}

// Back to a place with the clock wound up again: running out of time is no way out of it.
void RestoreUnhurried(const SimSnapshot& snapshot)
{
    SimSnapshot start = snapshot;
    start.world.hurryTimer = kHurryFrames;
    RestoreSimSnapshot(start);
}

Outcome PlayMove(const Move& m, long& frames)
{
    Outcome o = Outcome::Rest;
    if (m.liftGap != kNoLift) {
        // On a lift, or with none near, the fixed waits are all there is to it.
        if (SimHero().moverIndex >= 0 || !LiftNear())
            return Outcome::Lost;
        int waited = 0;
        for (; waited < kLiftWaitFrames && o == Outcome::Rest && !LiftAt(m.liftGap); ++waited)
            o = Play(0, 1, frames);
        if (waited == kLiftWaitFrames)
            return Outcome::Lost;
    } else {
        o = Play(0, m.wait, frames);
    }
    const int held = std::max(m.directionFrom + m.directionFrames, m.jumpFrom + m.jumpFrames);
    for (int f = 0; f < held && o == Outcome::Rest; ++f) {
        const bool jump = f >= m.jumpFrom && f < m.jumpFrom + m.jumpFrames;
        const bool steer = f >= m.directionFrom && f < m.directionFrom + m.directionFrames;
        o = Play((steer ? m.direction : 0) | (jump ? kButtonJump : 0), 1, frames);
    }
    return o == Outcome::Rest ? Settle(frames) : o;
}

} // namespace

ReachReport SearchStandingPlaces(const std::vector<uint8_t>& map, int stage,
                                 const std::vector<std::vector<uint32_t>>& runs)
{
    ReachReport report;
    StartSimStage(map, stage);
    for (long f = 0; f < kIntroFrames; ++f)
        StepSimFrame(0);
    report.frames = kIntroFrames;
    if (Settle(report.frames) != Outcome::Rest)
        return report;

    std::vector<Node> nodes;
    std::unordered_map<uint64_t, int> index;
    std::unordered_map<uint64_t, std::vector<int>> variants;
    std::deque<int> todo;
    const auto addNode = [&]() {
        const uint64_t position = PositionKeyOf();
        const uint64_t key = KeyOf(position);
        auto found = index.find(key);
        if (found != index.end())
            return found->second;
        // Past the last variant a visit counts as the place's first one, which keeps the ways
        // between places (a place is never taken for a dead end for want of a variant).
        std::vector<int>& seen = variants[position];
        if (static_cast<int>(seen.size()) >= kMaxVariants)
            return seen.front();
        seen.push_back(static_cast<int>(nodes.size()));
        const auto [it, fresh] = index.emplace(key, static_cast<int>(nodes.size()));
        if (fresh) {
            Node n;
            n.snapshot = TakeSimSnapshot(nodes.empty() ? nullptr : &nodes.front().snapshot);
            const Player& hero = SimHero();
            n.place = {hero.x, hero.y, hero.moverIndex};
            nodes.push_back(std::move(n));
            todo.push_back(it->second);
        }
        return it->second;
    };
    addNode();

    // Every place a run rests on is reachable, and the search starts from it too: play wanders
    // off the script (a jump a frame late, a lift caught on another trip), so runs shifted from
    // the finishing script show places the moves alone may not reach. The places of a run that
    // ends in the door are known to lead on to it.
    for (size_t r = 0; r < runs.size(); ++r) {
        StartSimStage(map, stage);
        std::vector<int> onRun;
        bool wasAtRest = false;
        int lastY = 0;
        for (uint32_t buttons : runs[r]) {
            StepSimFrame(buttons);
            if (SimFinished() || SimFailed())
                break;
            const bool atRest = AtRest() && buttons == 0;
            if (atRest && wasAtRest && (SimHero().y == lastY || SimHero().moverIndex >= 0) &&
                SimHero().y >= kHighestPlace) {
                // Only a place of its own is proven; one past the variant cap stands in for another.
                const int n = addNode();
                if (index.count(KeyOf(PositionKeyOf())) > 0)
                    onRun.push_back(n);
            }
            wasAtRest = atRest;
            lastY = SimHero().y;
        }
        for (long f = 0; f < kSettleFrames && !SimFinished() && !SimFailed(); ++f)
            StepSimFrame(0);
        if (r == 0)
            report.finishRests = static_cast<int>(onRun.size());
        if (SimFinished() && !SimFailed())
            for (int n : onRun)
                nodes[n].way = true;
    }
    while (!todo.empty()) {
        if (static_cast<int>(nodes.size()) >= kMaxPlaces) {
            report.budgetSpent = true;
            break;
        }
        const int at = todo.front();
        todo.pop_front();
        for (const Move& move : kMoves) {
            RestoreUnhurried(nodes[at].snapshot);
            switch (PlayMove(move, report.frames)) {
            case Outcome::Door:
                report.doorReached = true;
                nodes[at].way = true;
                break;
            case Outcome::Death:
                break; // dying is no way out of a place
            case Outcome::Rest: {
                const int to = addNode();
                if (to != at)
                    nodes[at].next.push_back(to);
                else
                    nodes[at].restsHere = true;
                break;
            }
            case Outcome::Lost:
                break;
            }
        }
    }
    report.places = static_cast<int>(nodes.size());
    if (report.budgetSpent)
        return report; // places still waiting for their moves would all look like dead ends

    // A place the moves only lead back to is one to stay in unless standing there soon kills:
    // a rider a few frames from being crushed rests again on the lift, and dies all the same.
    for (Node& n : nodes) {
        if (n.way || !n.restsHere)
            continue;
        RestoreUnhurried(n.snapshot);
        long frames = 0;
        n.alive = Play(0, kSettleFrames, frames) == Outcome::Rest;
        report.frames += frames;
    }
    // Ways out, and staying alive, spread back along the moves until nothing changes.
    for (bool changed = true; changed;) {
        changed = false;
        for (Node& n : nodes) {
            for (int to : n.next) {
                if (!n.way && nodes[to].way) {
                    n.way = true;
                    changed = true;
                }
                if (!n.alive && nodes[to].alive) {
                    n.alive = true;
                    changed = true;
                }
            }
        }
    }
    for (const Node& n : nodes)
        if (!n.way && n.alive)
            report.deadEnds.push_back(n.place);
    return report;
}
