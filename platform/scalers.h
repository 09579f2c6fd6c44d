// Software scalers from the 320x240 logical screen to a 640x480 picture.
#pragma once

#include <cstdint>

// Plain pixel doubling. bytesPerPixel is 2 or 3; rows are addressed through the pitches.
void ScalePlain(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel);
