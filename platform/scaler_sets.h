// The scaler passes built for each instruction set, and the choice of the one to use.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// A doubling pass as ScalePlain and Scale2x in platform/scalers.h.
using DoublingPass = void (*)(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel);
// A smoothing pass as ScaleSmooth in platform/scalers.h.
using SmoothingPass = void (*)(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel,
                               uint32_t mask, uint32_t* buffer);

// The three passes built for one instruction set. Every set writes byte for byte what
// the portable set writes, picture and smoothing buffer alike.
struct ScalerSet {
    const char* name; // "portable", "ssse3" or "avx2"
    DoublingPass plain;
    DoublingPass scale2x;
    SmoothingPass smooth;
};

// The passes of platform/scalers.h, built for any processor.
extern const ScalerSet kPortableScalers;

// Every set this processor can run, the portable one first and the fastest last.
std::vector<const ScalerSet*> RunnableScalerSets();

// The set named by the environment variable FRIBB3_SCALERS when it names a runnable one
// (FRIBB3_SCALERS=portable forces the portable passes), else the fastest runnable set.
const ScalerSet& PickScalerSet();

// The set named by FRIBB3_SCALERS when it names a runnable one; else the runnable set whose
// pass ran fastest: run(set) does that set's pass once on the surfaces it will be used on,
// and every set is timed a few times in turn (a warm-up, then the quickest of the rest).
// About a dozen passes in all, a few milliseconds.
const ScalerSet& PickFastestScalerSet(const std::function<void(const ScalerSet&)>& run);
