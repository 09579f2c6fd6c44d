// Full-screen placement of the logical screen: whole factors, 4:3, centred, on the desktops
// players have and on the odd ones.
#include <gtest/gtest.h>

#include "platform/display_layout.h"

namespace {

struct Want {
    int desktopW, desktopH;
    bool filtered;
    int factor, filterFactor, left, top;
};

TEST(DisplayLayout, FullscreenTakesTheLargestWholeFactorCentred)
{
    const Want cases[] = {
        // Plain blocks take any factor; Scale2x and smoothing the largest even one.
        {1366, 768, false, 3, 1, 203, 24},  {1366, 768, true, 2, 2, 363, 144},
        {1920, 1080, false, 4, 1, 320, 60}, {1920, 1080, true, 4, 2, 320, 60},
        {2560, 1440, false, 6, 1, 320, 0},  {2560, 1440, true, 6, 2, 320, 0},
        {3840, 2160, false, 9, 1, 480, 0},  {3840, 2160, true, 8, 2, 640, 120},
        {2560, 1080, false, 4, 1, 640, 60}, {2560, 1080, true, 4, 2, 640, 60},
        {640, 480, false, 2, 1, 0, 0},      {640, 480, true, 2, 2, 0, 0},
        // Portrait and small desktops: the narrower side decides; below 640x480 no filter.
        {1080, 1920, true, 2, 2, 220, 720}, {639, 479, true, 1, 1, 159, 119},
        {320, 240, false, 1, 1, 0, 0},
    };
    for (const Want& w : cases) {
        const PictureLayout l = FullscreenLayout(w.desktopW, w.desktopH, w.filtered);
        const std::string what = std::to_string(w.desktopW) + "x" + std::to_string(w.desktopH) +
                                 (w.filtered ? " filtered" : " plain");
        EXPECT_EQ(l.modeWidth, w.desktopW) << what;
        EXPECT_EQ(l.modeHeight, w.desktopH) << what;
        EXPECT_EQ(l.factor, w.factor) << what;
        EXPECT_EQ(l.filterFactor, w.filterFactor) << what;
        EXPECT_EQ(l.filterFactor * l.repeat, l.factor) << what;
        EXPECT_EQ(l.width, 320 * w.factor) << what;
        EXPECT_EQ(l.height, 240 * w.factor) << what;
        EXPECT_EQ(l.left, w.left) << what;
        EXPECT_EQ(l.top, w.top) << what;
        EXPECT_LE(l.left + l.width, w.desktopW) << what;
        EXPECT_LE(l.top + l.height, w.desktopH) << what;
    }
}

TEST(DisplayLayout, TinyOrUnknownDesktopsGetTheDoubledMode)
{
    for (int w : {0, 319, -5})
        for (bool filtered : {false, true}) {
            const PictureLayout l = FullscreenLayout(w, w == 0 ? 0 : 1000, filtered);
            EXPECT_EQ(l.modeWidth, 640);
            EXPECT_EQ(l.modeHeight, 480);
            EXPECT_EQ(l.factor, 2);
            EXPECT_EQ(l.filterFactor, filtered ? 2 : 1);
            EXPECT_EQ(l.left, 0);
            EXPECT_EQ(l.top, 0);
        }
    const PictureLayout window = DoubledWindowLayout(true);
    EXPECT_EQ(window.width, 640);
    EXPECT_EQ(window.repeat, 1);
    EXPECT_EQ(DoubledWindowLayout(false).repeat, 2);
}

} // namespace
