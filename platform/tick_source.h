// Millisecond clock and sleep: SDL's real clock, or a virtual one for tests and replays.
#pragma once

#include <cstdint>

// Milliseconds since start-up (real), or the virtual time.
uint32_t GetTicks();

// Sleeps ms milliseconds (real), or advances the virtual time by ms without sleeping.
void Delay(uint32_t ms);

// From now on time is virtual and starts at startTick; it moves only through
// Delay and AdvanceVirtualClock, so a headless run is deterministic and never sleeps.
void UseVirtualClock(uint32_t startTick);

// Back to SDL's clock.
void UseRealClock();

// True while the virtual clock is in use.
bool IsVirtualClock();

// Moves the virtual time forward, as if work had taken ms milliseconds.
void AdvanceVirtualClock(uint32_t ms);

// A function told of every step of the virtual time (its length in ms), so
// that work paced by time, like music, can follow it; null removes it.
void SetVirtualTimeListener(void (*listener)(uint32_t ms));
