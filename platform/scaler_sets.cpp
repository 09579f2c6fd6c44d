// Which scaler passes the processor can run, and the pick among them: forced, or the fastest by timing.
#include "platform/scaler_sets.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/scalers.h"
#include "platform/scalers_x86.h"

const ScalerSet kPortableScalers{"portable", ScalePlain, Scale2x, ScaleSmooth};

namespace {

// Timed runs of each set after its warm-up run: the quickest counts, so a run slowed by
// another process or an interrupt does not decide.
constexpr int kTimedRuns = 3;

// The runnable set FRIBB3_SCALERS names, or null.
const ScalerSet* ForcedSet(const std::vector<const ScalerSet*>& sets)
{
    if (const char* wanted = std::getenv("FRIBB3_SCALERS")) {
        for (const ScalerSet* set : sets)
            if (std::strcmp(set->name, wanted) == 0)
                return set;
    }
    return nullptr;
}

#if defined(__x86_64__)
const ScalerSet kSsse3Scalers{"ssse3", ScalePlainSsse3, Scale2x, ScaleSmoothSsse3};
const ScalerSet kAvx2Scalers{"avx2", ScalePlainAvx2, Scale2xAvx2, ScaleSmoothAvx2};
#endif

} // namespace

std::vector<const ScalerSet*> RunnableScalerSets()
{
    std::vector<const ScalerSet*> sets{&kPortableScalers};
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("ssse3"))
        sets.push_back(&kSsse3Scalers);
    if (__builtin_cpu_supports("avx2"))
        sets.push_back(&kAvx2Scalers);
#endif
    return sets;
}

const ScalerSet& PickScalerSet()
{
    const std::vector<const ScalerSet*> sets = RunnableScalerSets();
    if (const ScalerSet* forced = ForcedSet(sets))
        return *forced;
    return *sets.back();
}

const ScalerSet& PickFastestScalerSet(const std::function<void(const ScalerSet&)>& run)
{
    const std::vector<const ScalerSet*> sets = RunnableScalerSets();
    if (const ScalerSet* forced = ForcedSet(sets))
        return *forced;
    using Clock = std::chrono::steady_clock;
    std::vector<Clock::duration> best(sets.size(), Clock::duration::max());
    for (const ScalerSet* set : sets)
        run(*set);
    // Rounds over all sets rather than all runs of one set at a time, so a slow spell of
    // the machine falls on every set alike.
    for (int round = 0; round < kTimedRuns; ++round)
        for (size_t i = 0; i < sets.size(); ++i) {
            const Clock::time_point start = Clock::now();
            run(*sets[i]);
            best[i] = std::min(best[i], Clock::now() - start);
        }
    size_t fastest = 0;
    for (size_t i = 1; i < sets.size(); ++i)
        if (best[i] < best[fastest])
            fastest = i;
    return *sets[fastest];
}
