// Polishing a finishing script: shifted runs checked against the unshifted run frame by frame.
#include "route_polish.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <utility>

#include "stage_runs.h"
#include "stage_sim.h"
#include "world/actors.h"
#include "world/level_map.h"
#include "world/lifts.h"
#include "world/tile_effects.h"
#include "world/world_state.h"

namespace {

// Frames a shifted run may go on past the script's end, holding its last buttons.
constexpr long kTail = 60;
// How far an input change is tried earlier and later.
constexpr int kMaxMove = 6;
// The largest shift of an input change that is counted.
constexpr int kMaxShift = 2;

uint64_t Mix(uint64_t h, uint64_t v)
{
    return h ^ (v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2));
}

// A hash of the playing state but the grid, as the stage player holds it now.
uint64_t LiveKey()
{
    uint64_t h = 1469598103934665603ULL;
    const Player& p = SimHero();
    for (int v : {p.x, p.y, p.vy, p.walkCounter, p.jumpLatch, p.bounce, p.moverIndex, p.onTrapdoor, p.dead, p.active,
                  p.finished, world.cameraX, world.ringsLeft, world.runLeftLatch, world.runRightLatch,
                  world.pushCounter, world.oxygen, world.checkpointTouched, world.restartX})
        h = Mix(h, static_cast<uint32_t>(v));
    for (const Actor& a : actors)
        if (a.active)
            h = Mix(h, (uint64_t(uint32_t(a.x)) << 32) ^ uint32_t(a.y) ^ (uint64_t(uint32_t(a.dx)) << 16) ^
                           (uint64_t(uint32_t(a.timer)) << 48) ^ uint64_t(uint32_t(a.type)) << 40);
    for (int i = 0; i < liftCount; ++i)
        h = Mix(h, (uint64_t(uint32_t(lifts[i].y)) << 8) ^ uint32_t(lifts[i].dir));
    for (const TileEffect& e : tileEffects)
        if (e.active)
            h = Mix(h, (uint64_t(uint32_t(e.x)) << 40) ^ (uint64_t(uint32_t(e.y)) << 24) ^
                           (uint64_t(uint32_t(e.kind)) << 8) ^ uint32_t(e.t));
    return h;
}

// True when the stage player's grids are those of the snapshot.
bool SameGrids(const SimSnapshot& s)
{
    return levelMap.live.size() == s.live->size() &&
           std::memcmp(levelMap.live.data(), s.live->data(), levelMap.live.size() * sizeof(TileCode)) == 0 &&
           std::memcmp(levelMap.restore.data(), s.restore->data(), levelMap.restore.size() * sizeof(TileCode)) == 0;
}

uint32_t InputAt(const std::vector<uint32_t>& input, long f)
{
    if (input.empty())
        return 0;
    return f < static_cast<long>(input.size()) ? input[f] : input.back();
}

// The unshifted run: the state before every frame and its key, up to the exit.
struct Run {
    std::vector<SimSnapshot> before; // before[f]: the state after f frames
    std::vector<uint64_t> key;
    bool finished = false;
    long outOfSightFrom = -1; // the first state with the hero too far above the screen, or -1
    long frames() const { return static_cast<long>(before.size()) - 1; }
};

// The run of input, sharing the first `from` frames with base (nullptr: from the start).
Run PlayRun(const std::vector<uint8_t>& map, int stage, const std::vector<uint32_t>& input, const Run* base, long from)
{
    Run run;
    if (base && from > 0 && from <= base->frames()) {
        run.before.assign(base->before.begin(), base->before.begin() + from);
        run.key.assign(base->key.begin(), base->key.begin() + from);
        run.outOfSightFrom = base->outOfSightFrom < from ? base->outOfSightFrom : -1;
        RestoreSimSnapshot(base->before[from]);
    } else {
        StartSimStage(map, stage);
        from = 0;
    }
    // The script itself has to reach the exit; only shifted runs get the tail.
    const long limit = static_cast<long>(input.size());
    for (long f = from;; ++f) {
        run.before.push_back(TakeSimSnapshot(run.before.empty() ? nullptr : &run.before.back()));
        run.key.push_back(LiveKey());
        if (SimHero().y < -kOutOfSightPixels && run.outOfSightFrom < 0)
            run.outOfSightFrom = static_cast<long>(run.before.size()) - 1;
        if (SimFinished() || SimFailed() || f >= limit)
            break;
        StepSimFrame(InputAt(input, f));
    }
    run.finished = SimFinished() && world.ringsLeft == 0;
    return run;
}

std::vector<long> Changes(const std::vector<uint32_t>& input)
{
    std::vector<long> changes;
    for (long i = kIntroFrames + 1; i < static_cast<long>(input.size()); ++i)
        if (input[i] != input[i - 1])
            changes.push_back(i);
    return changes;
}

// The input with the change at frame i moved by d frames.
std::vector<uint32_t> Shifted(const std::vector<uint32_t>& input, long i, int d)
{
    std::vector<uint32_t> v = input;
    if (d > 0)
        for (long k = i; k < i + d && k < static_cast<long>(v.size()); ++k)
            v[k] = input[i - 1];
    else
        for (long k = i + d; k < i; ++k)
            v[k] = input[i];
    return v;
}

// How one shifted run ended: whether it finishes, and the frame from which it
// is the unshifted run again (or ended) - it depends on nothing after that.
struct ShiftResult {
    bool kept = false;
    long settled = 0;
};

ShiftResult PlayShift(const Run& run, const std::vector<uint32_t>& shifted, long from)
{
    RestoreSimSnapshot(run.before[from]);
    const long limit = static_cast<long>(shifted.size()) + kTail;
    for (long f = from; f < limit; ++f) {
        StepSimFrame(InputAt(shifted, f));
        if (SimFailed())
            return {false, f + 1};
        if (SimFinished())
            return {world.ringsLeft == 0, f + 1};
        if (f + 1 <= run.frames() && LiveKey() == run.key[f + 1] && SameGrids(run.before[f + 1]))
            return {run.finished, f + 1};
    }
    return {false, limit};
}

using Results = std::map<std::pair<long, int>, ShiftResult>; // (change frame, shift) -> result

// Every shift of every change of input, played against run; results of earlier
// shifts that settled before frame `from` (and started before it) are kept.
Results CountAll(const Run& run, const std::vector<uint32_t>& input, const Results* earlier, long from)
{
    Results results;
    for (long i : Changes(input)) {
        if (i >= run.frames())
            break;
        for (int d = -kMaxShift; d <= kMaxShift; ++d) {
            if (d == 0)
                continue;
            const long start = std::min(i, i + d);
            if (earlier && start + kMaxShift < from) {
                const auto old = earlier->find({i, d});
                if (old != earlier->end() && old->second.settled < from) {
                    results[{i, d}] = old->second;
                    continue;
                }
            }
            results[{i, d}] = PlayShift(run, Shifted(input, i, d), start);
        }
    }
    return results;
}

ShiftCount Tally(const Results& results)
{
    ShiftCount c;
    for (const auto& [k, r] : results) {
        ++c.tried;
        c.kept += r.kept;
    }
    return c;
}

} // namespace

ShiftCount CountKeptShifts(const std::vector<uint8_t>& map, int stage, const std::vector<uint32_t>& input)
{
    const Run run = PlayRun(map, stage, input, nullptr, 0);
    return Tally(CountAll(run, input, nullptr, 0));
}

ShiftCount PolishInput(const std::vector<uint8_t>& map, int stage, std::vector<uint32_t>& input, long maxFrames)
{
    Run run = PlayRun(map, stage, input, nullptr, 0);
    Results results = CountAll(run, input, nullptr, 0);
    ShiftCount best = Tally(results);
    if (!run.finished)
        return best;
    for (size_t n = 0;; ++n) {
        const std::vector<long> changes = Changes(input);
        if (n >= changes.size() || changes[n] >= run.frames())
            break;
        const long i = changes[n];
        const long previous = n > 0 ? changes[n - 1] : kIntroFrames + 1;
        const long next = n + 1 < changes.size() ? changes[n + 1] : static_cast<long>(input.size());
        // Only changes that lose a shift are worth moving.
        bool loses = false;
        for (const auto& [k, r] : results)
            loses = loses || (!r.kept && k.first >= previous && k.first <= next);
        if (!loses)
            continue;
        for (int d = -kMaxMove; d <= kMaxMove; ++d) {
            if (d == 0)
                continue;
            for (bool rest : {false, true}) {
                std::vector<uint32_t> moved;
                if (rest) {
                    // Everything from the change on comes d frames later (or earlier).
                    if (d < 0 && i + d <= previous)
                        continue;
                    moved.assign(input.begin(), input.begin() + i);
                    if (d > 0)
                        moved.insert(moved.end(), static_cast<size_t>(d), input[i - 1]);
                    else
                        moved.resize(moved.size() + d);
                    moved.insert(moved.end(), input.begin() + i, input.end());
                } else {
                    if (i + d <= previous || i + d >= next)
                        continue;
                    moved = Shifted(input, i, d);
                }
                const long from = std::min(i, i + d);
                const Run tried = PlayRun(map, stage, moved, &run, from);
                // A script the player could not follow on screen is no better, however many shifts it keeps.
                if (!tried.finished || tried.frames() > maxFrames || (tried.outOfSightFrom >= 0 && run.outOfSightFrom < 0))
                    continue;
                const Results r = CountAll(tried, moved, &results, from);
                const ShiftCount c = Tally(r);
                if (c.tried - c.kept < best.tried - best.kept) {
                    best = c;
                    input = moved;
                    run = tried;
                    results = r;
                }
            }
        }
        std::fprintf(stderr, "\rpolishing: change %zu of %zu, %d of %d shifts kept   ", n + 1, changes.size(),
                     best.kept, best.tried);
    }
    std::fprintf(stderr, "\n");
    return best;
}
