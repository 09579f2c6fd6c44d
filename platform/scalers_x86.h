// Scaler passes for x86-64 processors with SSSE3 or AVX2, with the contracts of the passes in
// platform/scalers.h; call them only when the processor has the instructions they are named after.
#pragma once

#include <cstdint>

#if defined(__x86_64__)

// Plain doubling; 3-byte pixels through byte shuffles, 2-byte pixels as ScalePlain.
void ScalePlainSsse3(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel);

// Smoothing through the averaging instructions, 3-byte pixels in packed bytes.
void ScaleSmoothSsse3(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel, uint32_t mask,
                      uint32_t* buffer);

// Plain doubling in 32-byte vectors.
void ScalePlainAvx2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel);

// Scale2x in 32-byte vectors.
void Scale2xAvx2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel);

// Smoothing in 32-byte vectors.
void ScaleSmoothAvx2(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel, uint32_t mask,
                     uint32_t* buffer);

#endif
