// Integer-scaled, centred placement of the logical screen on a full-screen desktop.
#include "platform/display_layout.h"

#include <algorithm>

#include "core/geometry.h"

namespace {

constexpr int kFilterFactor = 2; // Scale2x and smoothing double

PictureLayout Centred(int modeWidth, int modeHeight, int filterFactor, int repeat)
{
    PictureLayout l;
    l.modeWidth = modeWidth;
    l.modeHeight = modeHeight;
    l.filterFactor = filterFactor;
    l.repeat = repeat;
    l.factor = filterFactor * repeat;
    l.width = kScreenWidth * l.factor;
    l.height = kScreenHeight * l.factor;
    l.left = (modeWidth - l.width) / 2;
    l.top = (modeHeight - l.height) / 2;
    return l;
}

} // namespace

PictureLayout DoubledWindowLayout(bool filtered)
{
    const int doubled = kFilterFactor;
    return filtered ? Centred(kScreenWidth * doubled, kScreenHeight * doubled, kFilterFactor, 1)
                    : Centred(kScreenWidth * doubled, kScreenHeight * doubled, 1, doubled);
}

PictureLayout FullscreenLayout(int desktopWidth, int desktopHeight, bool filtered)
{
    const int fits = std::min(std::max(desktopWidth, 0) / kScreenWidth, std::max(desktopHeight, 0) / kScreenHeight);
    if (fits < 1)
        return DoubledWindowLayout(filtered);
    if (!filtered)
        return Centred(desktopWidth, desktopHeight, 1, fits);
    if (fits < kFilterFactor)
        return Centred(desktopWidth, desktopHeight, 1, 1);
    return Centred(desktopWidth, desktopHeight, kFilterFactor, fits / kFilterFactor);
}
