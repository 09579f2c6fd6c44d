// Plain doubling, Scale2x and smoothing of the logical screen.
#include "platform/scalers.h"

#include <cstring>

#include "platform/display.h"

void ScalePlain(const uint8_t* src, int srcPitch, uint8_t* dst, int dstPitch, int bytesPerPixel)
{
    for (int y = 0; y < kScreenHeight; ++y) {
        const uint8_t* s = src + y * srcPitch;
        uint8_t* d = dst + 2 * y * dstPitch;
        for (int x = 0; x < kScreenWidth; ++x) {
            std::memcpy(d + (2 * x) * bytesPerPixel, s + x * bytesPerPixel, bytesPerPixel);
            std::memcpy(d + (2 * x + 1) * bytesPerPixel, s + x * bytesPerPixel, bytesPerPixel);
        }
        std::memcpy(d + dstPitch, d, 2 * kScreenWidth * bytesPerPixel);
    }
}
