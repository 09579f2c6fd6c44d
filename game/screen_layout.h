// What the screens drawn over the playfield share: the message row, the blink rhythm, the wait poll.
#pragma once

#include <cstdint>

// Top edge of the centred message line over the playfield (big font).
constexpr int kMessageY = 96;
// Blinking texts show while frame AND this bit is 0: 32 frames on, 32 off.
constexpr int kBlinkBit = 0x20;
// Screens that only wait for a button look at the input this often.
constexpr uint32_t kWaitPollMs = 100;
