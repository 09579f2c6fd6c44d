// Waiting until every key and pad button is let go, then forgetting all input.
#pragma once

#include <cstdint>

// Key symbols of Num Lock, Caps Lock and Scroll Lock, which stay down while
// their lock is on and so never count as held.
constexpr int kKeyNumLock = 300;
constexpr int kKeyCapsLock = 301;
constexpr int kKeyScrollLock = 302;
// Milliseconds slept before each look at the keys and buttons.
constexpr uint32_t kReleasePollMs = 10;

// Sleeps 10 ms and looks again until no key (lock keys aside) and no button of
// the open joystick is down, at least once; then clears lastKey (0),
// lastPadButton (-1), released and held. Events arriving meanwhile stay queued
// for the next PumpEvents. An end signal (EndSignal) stops the wait early.
void WaitAllReleased();

// For replays: WaitAllReleased reads keyState[0..keyCount-1] (non-zero = down)
// instead of SDL's keyboard, and calls afterSleep after each sleep, before it
// looks (a replay moves its script on there). A null keyState goes back to SDL's.
void SimulateReleaseWait(const uint8_t* keyState, int keyCount, void (*afterSleep)());
