// Frame clock pacing on the virtual clock: 17/17/16 groups, debt, bounded draw skipping, tick wrap.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/frame_clock.h"
#include "platform/tick_source.h"

namespace {

// What one WaitFrame did: how long it slept and whether the next frame is drawn.
struct FrameResult {
    uint32_t slept;
    int32_t skipDraw;
    bool operator==(const FrameResult&) const = default;
};

std::ostream& operator<<(std::ostream& os, const FrameResult& r)
{
    return os << "{slept " << r.slept << ", skip " << r.skipDraw << "}";
}

// Runs one frame whose work takes workMs, then WaitFrame; the virtual clock
// moves only through the work and the clock's own Delay.
FrameResult RunFrame(uint32_t workMs)
{
    AdvanceVirtualClock(workMs);
    const uint32_t before = GetTicks();
    WaitFrame();
    return {GetTicks() - before, frameClock.skipDraw};
}

std::vector<FrameResult> RunFrames(const std::vector<uint32_t>& work)
{
    std::vector<FrameResult> out;
    for (uint32_t w : work)
        out.push_back(RunFrame(w));
    return out;
}

class FrameClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        frameClock = FrameClock{};
        UseVirtualClock(1000);
        ResetFrameClock();
    }
    void TearDown() override { UseRealClock(); }
};

} // namespace

TEST_F(FrameClockTest, IdleFramesSleepSeventeenSeventeenSixteen)
{
    const std::vector<FrameResult> expected = {{17, 0}, {17, 0}, {16, 0}, {17, 0}, {17, 0}, {16, 0}};
    EXPECT_EQ(RunFrames({0, 0, 0, 0, 0, 0}), expected);
    // Sixty idle frames are exactly one second.
    const uint32_t start = GetTicks();
    for (int i = 0; i < 60; ++i)
        RunFrame(0);
    EXPECT_EQ(GetTicks() - start, 1000u);
}

TEST_F(FrameClockTest, OverrunSkipsOneOrTwoDrawsWithoutSleeping)
{
    // A first frame 20 ms over its budget: two skipped draws pay the debt back,
    // then the group's last frame sleeps what is left of its 50 ms.
    const std::vector<FrameResult> twoSkips = {{0, 1}, {0, 1}, {10, 0}, {17, 0}};
    EXPECT_EQ(RunFrames({17 + 20, 0, 0, 0}), twoSkips);

    // A frame of 20 ms (3 over) needs one skip; the next frame sleeps again.
    SetUp();
    const std::vector<FrameResult> oneSkip = {{0, 1}, {14, 0}, {16, 0}};
    EXPECT_EQ(RunFrames({20, 0, 0}), oneSkip);

    // An overrun in the last frame of a group carries its debt into the next
    // group, which still ends 50 ms after it began.
    SetUp();
    const std::vector<FrameResult> acrossGroups = {{17, 0}, {17, 0}, {0, 1}, {0, 1}, {14, 0}, {36, 0}};
    EXPECT_EQ(RunFrames({0, 0, 16 + 20, 0, 0, 0}), acrossGroups);
}

TEST_F(FrameClockTest, NeverSkipsThreeDrawsInARow)
{
    // A very long frame: after two skips the third frame is drawn, and the
    // debt is forgiven rather than carried on for ever.
    const std::vector<FrameResult> expected = {{0, 1}, {0, 1}, {0, 0}, {17, 0}, {17, 0}, {16, 0}};
    EXPECT_EQ(RunFrames({500, 0, 0, 0, 0, 0}), expected);
}

TEST(TickSource, VirtualTimeMovesOnlyThroughDelayAndAdvance)
{
    UseVirtualClock(500);
    EXPECT_TRUE(IsVirtualClock());
    EXPECT_EQ(GetTicks(), 500u);
    EXPECT_EQ(GetTicks(), 500u);
    Delay(17);
    AdvanceVirtualClock(3);
    EXPECT_EQ(GetTicks(), 520u);

    // The real clock sleeps at least what was asked (no upper bound: the machine may be busy).
    UseRealClock();
    EXPECT_FALSE(IsVirtualClock());
    const uint32_t before = GetTicks();
    Delay(20);
    EXPECT_GE(GetTicks() - before, 20u);
}
