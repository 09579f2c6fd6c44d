// Which scaler passes the processor can run, checked once, and the pick among them.
#include "platform/scaler_sets.h"

#include <cstdlib>
#include <cstring>

#include "platform/scalers.h"
#include "platform/scalers_x86.h"

const ScalerSet kPortableScalers{"portable", ScalePlain, Scale2x, ScaleSmooth};

namespace {

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
    if (const char* wanted = std::getenv("FRIBB3_SCALERS")) {
        for (const ScalerSet* set : sets)
            if (std::strcmp(set->name, wanted) == 0)
                return *set;
    }
    return *sets.back();
}
