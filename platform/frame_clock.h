// The 60 Hz frame clock: groups of three frames paced 17, 17 and 16 ms, with draw skipping.
#pragma once

#include <cstdint>

struct FrameClock {
    uint32_t lastTick = 0;   // tick read at the end of the previous WaitFrame
    uint32_t groupStart = 0; // tick at which the current group of three frames began
    int32_t phase = 0;       // 0, 1 or 2 within the group
    int32_t debt = 0;        // milliseconds not yet paid back by skipping
    int32_t skipRun = 0;     // consecutive frames whose drawing was skipped (0..2)
    int32_t skipDraw = 0;    // 1: simulate the coming frame but do not draw or present it
};

// The one frame clock of the process.
extern FrameClock frameClock;

// Frame budgets: two frames of 17 ms and a group of three of 50 ms make 60 per second.
constexpr int32_t kFrameBudgetMs = 17;
constexpr int32_t kGroupBudgetMs = 50;
// Drawing is skipped for at most this many frames in a row.
constexpr int32_t kMaxSkipRun = 2;

// Restarts pacing at the current tick; call before every loop that uses WaitFrame.
void ResetFrameClock();

// Ends a frame: sleeps the rest of its budget, or sets skipDraw when behind.
void WaitFrame();
