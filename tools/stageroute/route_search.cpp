// A weighted A* search over chunks of held buttons, on snapshots of the headless stage player.
#include "route_search.h"

#include <algorithm>
#include <cstdlib>
#include <queue>
#include <unordered_set>

#include "platform/input.h"
#include "stage_sim.h"

namespace {

constexpr int kCell = 16;
constexpr TileCode kRingCode = 0x29;
constexpr int kHalfCell = 8;
// How much the search trusts its distance estimate over the frames spent.
constexpr double kGreed = 3.0;
// Frames the hero may take past the end of a shifted variant to still meet the goal.
constexpr long kShiftSlack = 24;
// The hero falling or standing: vy is at least this (quarter pixels per frame).
constexpr int kStandingVy = 7;
// What a change of the held buttons costs the search, in frames: fewer changes make
// calmer input that keeps working when a press comes a little early or late.
constexpr long kChangeCost = 2;
// The slow walks (down held) are the last actions; a goal uses them only when asked.
constexpr int kPlainActions = 6;
// A shorter solution is taken when it keeps this much less of the shifts at most.
constexpr double kRobustnessSlack = 0.02;
// Frames a hero must survive after meeting a goal.
constexpr long kViableFrames = 60;
// Perturbed states carried from goal to goal, at most.
constexpr size_t kMaxPerturbed = 300;

// What one search step holds: the buttons of its first frame and of the rest.
struct Action {
    uint32_t first, rest;
};
constexpr Action kActions[] = {
    {0, 0},
    {kButtonRight, kButtonRight},
    {kButtonLeft, kButtonLeft},
    {kButtonRight | kButtonJump, kButtonRight},
    {kButtonLeft | kButtonJump, kButtonLeft},
    {kButtonJump, 0},
    {kButtonRight | kButtonDown, kButtonRight | kButtonDown},
    {kButtonLeft | kButtonDown, kButtonLeft | kButtonDown},
};

struct Node {
    SimSnapshot state;
    int parent = -1;
    int action = 0;
    int frames = 0; // frames of this step (a step that meets the goal may be cut short)
    long g = 0;     // frames since the search start
    long cost = 0;  // frames plus a charge for every change of the held buttons
};

struct Open {
    double f;
    long g;
    int node;
    bool operator<(const Open& o) const { return f > o.f || (f == o.f && g > o.g); }
};

uint64_t Mix(uint64_t h, uint64_t v)
{
    h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
    return h;
}

// A hash of everything that decides the future of play.
uint64_t StateKey(const SimSnapshot& s)
{
    uint64_t h = 1469598103934665603ULL;
    const Player& p = s.hero;
    for (int v : {p.x, p.y, p.vy, p.jumpLatch, p.bounce, p.moverIndex, p.onTrapdoor, s.world.cameraX, s.world.ringsLeft,
                  s.world.runLeftLatch, s.world.runRightLatch, s.world.pushCounter})
        h = Mix(h, static_cast<uint64_t>(static_cast<uint32_t>(v)));
    for (const Actor& a : s.actors)
        if (a.active)
            h = Mix(h, (uint64_t(uint32_t(a.x)) << 32) ^ uint32_t(a.y) ^ (uint64_t(uint32_t(a.dx)) << 16) ^
                           uint64_t(uint32_t(a.timer)) << 48);
    for (int i = 0; i < s.liftCount; ++i)
        h = Mix(h, (uint64_t(uint32_t(s.lifts[i].y)) << 8) ^ uint32_t(s.lifts[i].dir));
    for (const TileEffect& e : s.tileEffects)
        if (e.active)
            h = Mix(h, (uint64_t(uint32_t(e.x)) << 40) ^ (uint64_t(uint32_t(e.y)) << 24) ^
                           (uint64_t(uint32_t(e.kind)) << 8) ^ uint32_t(e.t));
    for (TileCode c : *s.live)
        h = h * 31 + c;
    return h;
}

// Frames at least needed from the hero's place to the goal, roughly.
double Estimate(const RouteGoal& goal, const Player& p, const WorldState& w)
{
    int x = goal.column * kCell, y = goal.row * kCell;
    if (goal.kind == RouteGoal::Rings) {
        // The farthest ring still lying there: the hero has to get at least that far.
        double far = 0;
        for (const auto& [c, r] : goal.rings) {
            if (TileAt(c, r) != kRingCode)
                continue;
            const double dx = std::abs(c * kCell - p.x), dy = std::abs(r * kCell - p.y);
            far = std::max(far, std::max(dx / 2.0, dy / 3.0));
        }
        return far;
    }
    if (goal.kind == RouteGoal::Finish) {
        // The exit counts in the door's lower-right cell.
        x = (w.doorCell / kRows + 1) * kCell;
        y = (w.doorCell % kRows + 1) * kCell;
    }
    const double dx = std::abs(x - p.x);
    const double dy = std::abs(y - p.y);
    return std::max(dx / 2.0, dy / 3.0);
}

// Plays input from the snapshot; true when the goal is met, alive, within the input plus slack frames.
bool MeetsGoalFrom(const SimSnapshot& start, const RouteGoal& goal, const std::vector<uint32_t>& input, long slack)
{
    RestoreSimSnapshot(start);
    const long total = static_cast<long>(input.size()) + slack;
    for (long f = 0; f < total; ++f) {
        StepSimFrame(f < static_cast<long>(input.size()) ? input[f] : input.empty() ? 0 : input.back());
        if (SimFailed())
            return false;
        if (GoalMet(goal))
            return true;
    }
    return false;
}

// The input with each of its changes (and the change from before at its start)
// moved one or two frames earlier or later, one at a time.
std::vector<std::vector<uint32_t>> ShiftedVariants(const std::vector<uint32_t>& input, uint32_t before)
{
    std::vector<std::vector<uint32_t>> variants;
    for (size_t i = 0; i < input.size(); ++i) {
        const uint32_t previous = i == 0 ? before : input[i - 1];
        if (input[i] == previous)
            continue;
        for (int d : {-2, -1, 1, 2}) {
            if (i < static_cast<size_t>(d < 0 ? -d : 0) || (i == 0 && d < 0))
                continue;
            std::vector<uint32_t> v = input;
            if (d > 0)
                for (size_t k = i; k < std::min(input.size(), i + d); ++k)
                    v[k] = previous;
            else
                for (size_t k = i + d; k < i; ++k)
                    v[k] = input[i];
            variants.push_back(std::move(v));
        }
    }
    return variants;
}

// The share of shifted variants from the start, and of the input played from
// each perturbed state, that still meet the goal.
double Robustness(const SimSnapshot& start, const RouteGoal& goal, const std::vector<uint32_t>& input, uint32_t before,
                  const std::vector<SimSnapshot>& perturbed)
{
    int tried = 0, kept = 0;
    for (const std::vector<uint32_t>& v : ShiftedVariants(input, before)) {
        ++tried;
        kept += MeetsGoalFrom(start, goal, v, kShiftSlack);
    }
    for (const SimSnapshot& p : perturbed) {
        ++tried;
        kept += MeetsGoalFrom(p, goal, input, kShiftSlack);
    }
    return tried == 0 ? 1.0 : double(kept) / tried;
}

// Plays input from a state; true when the hero is still in play at its end.
bool Survives(const SimSnapshot& from, const std::vector<uint32_t>& input)
{
    RestoreSimSnapshot(from);
    for (uint32_t b : input) {
        StepSimFrame(b);
        if (SimFailed())
            return false;
    }
    return true;
}

// Adds the current state of the player to states unless it equals the nominal one or is there already.
void KeepDiffering(std::vector<SimSnapshot>& states, std::unordered_set<uint64_t>& keys, uint64_t nominal)
{
    if (states.size() >= kMaxPerturbed)
        return;
    SimSnapshot s = TakeSimSnapshot();
    const uint64_t key = StateKey(s);
    if (key != nominal && keys.insert(key).second)
        states.push_back(std::move(s));
}

// True when the hero can go on from the state: at least one plain way of
// carrying on (walking either way, standing, jumping on) keeps him alive for a
// while. A goal met on the way into spikes or a pit is no goal met.
bool Viable(const SimSnapshot& state)
{
    if (state.hero.finished)
        return true;
    constexpr Action kCarryOn[] = {{kButtonRight, kButtonRight},
                                   {kButtonLeft, kButtonLeft},
                                   {0, 0},
                                   {kButtonRight | kButtonJump, kButtonRight},
                                   {kButtonLeft | kButtonJump, kButtonLeft}};
    for (const Action& a : kCarryOn) {
        RestoreSimSnapshot(state);
        bool alive = true;
        for (long f = 0; f < kViableFrames && alive; ++f) {
            StepSimFrame(f == 0 ? a.first : a.rest);
            alive = !SimFailed();
        }
        if (alive)
            return true;
    }
    return false;
}

std::vector<uint32_t> InputOf(const std::vector<Node>& nodes, int n)
{
    std::vector<uint32_t> input;
    for (; nodes[n].parent >= 0; n = nodes[n].parent) {
        const Action& a = kActions[nodes[n].action];
        for (int f = nodes[n].frames - 1; f >= 0; --f)
            input.push_back(f == 0 ? a.first : a.rest);
    }
    std::reverse(input.begin(), input.end());
    return input;
}

} // namespace

// On the ground or on a lift, not in the middle of a jump or a fall.
bool Standing(const Player& p)
{
    if (p.vy != kStandingVy)
        return false;
    return p.moverIndex >= 0 || IsSolidAt(p.x, p.y + kCell) || IsSolidAt(p.x + kCell - 1, p.y + kCell);
}

bool GoalMet(const RouteGoal& goal)
{
    if (SimFailed())
        return false;
    if (goal.kind == RouteGoal::Finish)
        return SimFinished();
    if (goal.kind == RouteGoal::Rings) {
        for (const auto& [c, r] : goal.rings)
            if (TileAt(c, r) == kRingCode)
                return false;
        return (!goal.standing || Standing(SimHero())) && (SimHero().y + kHalfCell) / kCell <= goal.above;
    }
    const Player& p = SimHero();
    if ((p.x + kHalfCell) / kCell != goal.column || (p.y + kHalfCell) / kCell != goal.row || p.y < 0)
        return false;
    return !goal.standing || Standing(p);
}

void AdvancePerturbed(uint32_t before, std::vector<SimSnapshot>& perturbed, const std::vector<uint32_t>& input)
{
    const SimSnapshot start = TakeSimSnapshot();
    Survives(start, input);
    const SimSnapshot nominal = TakeSimSnapshot();
    const uint64_t nominalKey = StateKey(nominal);
    std::vector<SimSnapshot> next;
    std::unordered_set<uint64_t> keys;
    for (const std::vector<uint32_t>& v : ShiftedVariants(input, before))
        if (Survives(start, v))
            KeepDiffering(next, keys, nominalKey);
    for (const SimSnapshot& p : perturbed)
        if (Survives(p, input))
            KeepDiffering(next, keys, nominalKey);
    perturbed = std::move(next);
    RestoreSimSnapshot(nominal);
}

uint64_t SnapshotKey(const SimSnapshot& s)
{
    return StateKey(s);
}

bool SearchGoal(const RouteGoal& goal, uint32_t before, std::vector<SimSnapshot>& perturbed,
                std::vector<uint32_t>& input, double& robustness, std::string& why,
                const std::unordered_set<uint64_t>& banned)
{
    const SimSnapshot start = TakeSimSnapshot();
    if (GoalMet(goal)) {
        input.clear();
        robustness = 1;
        return true;
    }
    std::vector<Node> nodes;
    nodes.push_back(Node{start, -1, 0, 0, 0, 0});
    std::priority_queue<Open> open;
    open.push({Estimate(goal, start.hero, start.world), 0, 0});
    std::unordered_set<uint64_t> seen{StateKey(start)};
    std::vector<int> solutions;

    while (!open.empty() && static_cast<long>(nodes.size()) < goal.nodes &&
           static_cast<int>(solutions.size()) < goal.solutions) {
        const Open top = open.top();
        open.pop();
        const int actions = goal.slow ? static_cast<int>(std::size(kActions)) : kPlainActions;
        const uint32_t held = top.node == 0 ? before : kActions[nodes[top.node].action].rest;
        for (int a = 0; a < actions; ++a) {
            RestoreSimSnapshot(nodes[top.node].state);
            bool met = false, failed = false;
            int f = 0;
            for (; f < goal.chunk; ++f) {
                StepSimFrame(f == 0 ? kActions[a].first : kActions[a].rest);
                if (SimFailed()) {
                    failed = true;
                    break;
                }
                if (GoalMet(goal)) {
                    met = true;
                    ++f;
                    break;
                }
            }
            if (failed)
                continue;
            const long changes = (kActions[a].first != held) + (f > 1 && kActions[a].rest != kActions[a].first);
            Node child{TakeSimSnapshot(&nodes[top.node].state),         top.node, a, f, top.g + f,
                       nodes[top.node].cost + f + kChangeCost * changes};
            if (!met && !seen.insert(StateKey(child.state)).second)
                continue;
            if (met && (banned.count(StateKey(child.state)) || !Viable(child.state)))
                continue;
            nodes.push_back(std::move(child));
            const int index = static_cast<int>(nodes.size()) - 1;
            if (met)
                solutions.push_back(index);
            else
                open.push({double(nodes[index].cost) +
                               kGreed * Estimate(goal, nodes[index].state.hero, nodes[index].state.world),
                           nodes[index].g, index});
        }
    }
    if (solutions.empty()) {
        RestoreSimSnapshot(start);
        why = open.empty() ? "no way found" : "gave up after " + std::to_string(nodes.size()) + " states";
        return false;
    }
    // The most robust solution, or a shorter one that is nearly as robust.
    std::vector<double> scores;
    double top = -1;
    for (int s : solutions) {
        scores.push_back(Robustness(start, goal, InputOf(nodes, s), before, perturbed));
        top = std::max(top, scores.back());
    }
    int best = -1;
    double bestScore = -1;
    for (size_t i = 0; i < solutions.size(); ++i) {
        if (scores[i] < top - kRobustnessSlack)
            continue;
        if (best < 0 || nodes[solutions[i]].g < nodes[best].g ||
            (nodes[solutions[i]].g == nodes[best].g && scores[i] > bestScore)) {
            best = solutions[i];
            bestScore = scores[i];
        }
    }
    input = InputOf(nodes, best);
    robustness = bestScore;
    RestoreSimSnapshot(start);
    AdvancePerturbed(before, perturbed, input);
    return true;
}
