// Frame pacing with debt and bounded draw skipping.
#include "platform/frame_clock.h"

#include "platform/tick_source.h"

FrameClock frameClock;

void ResetFrameClock()
{
    const uint32_t t = GetTicks();
    frameClock.lastTick = t;
    frameClock.groupStart = t;
    frameClock.skipDraw = 0;
    frameClock.phase = 0;
    frameClock.debt = 0;
    frameClock.skipRun = 0;
}

void WaitFrame()
{
    FrameClock& c = frameClock;
    const uint32_t prev = c.lastTick;
    uint32_t now = GetTicks();
    c.lastTick = now;

    int32_t budget;
    if (c.phase < 2) {
        budget = kFrameBudgetMs;
        if (now < prev) // the tick counter wrapped
            now = prev + kFrameBudgetMs;
        c.debt += static_cast<int32_t>(now - prev);
    } else {
        budget = kGroupBudgetMs;
        if (now < c.groupStart)
            now = c.groupStart + kGroupBudgetMs;
        c.debt += static_cast<int32_t>(now - c.groupStart); // the whole group so far
    }

    if (c.debt > budget && c.skipRun < kMaxSkipRun) {
        c.debt -= budget;
        c.skipDraw = 1;
        c.skipRun += 1;
    } else {
        if (budget - c.debt > 0)
            Delay(static_cast<uint32_t>(budget - c.debt));
        c.debt = 0;
        c.skipDraw = 0;
        c.skipRun = 0;
    }

    c.lastTick = GetTicks();
    if (c.phase < 2) {
        c.phase += 1;
    } else {
        c.phase = 0;
        c.groupStart = c.lastTick;
    }
}
