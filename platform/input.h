// Logical buttons: the event pump and the input record it fills.
#pragma once

#include <cstdint>

// Bits of the logical buttons in InputState.held and values of InputState.released.
constexpr uint32_t kButtonStart = 0x02;
constexpr uint32_t kButtonPause = 0x04;
constexpr uint32_t kButtonJump = 0x08;
constexpr uint32_t kButtonLeft = 0x10;
constexpr uint32_t kButtonRight = 0x20;
constexpr uint32_t kButtonDown = 0x40;
constexpr uint32_t kButtonUp = 0x80;

// SDL 1.2 key symbol of Escape, which always asks to quit.
constexpr int kKeyEscape = 27;
// Stick deflection beyond which an axis counts as a direction.
constexpr int kAxisThreshold = 31000;

struct InputState {
    uint32_t held = 0;          // logical buttons currently held
    uint32_t released = 0;      // the last logical button released during the current pump, 0 none
    int32_t lastKey = 0;        // key symbol of the last key pressed; 0 after a pad button press
    int32_t lastPadButton = -1; // last pad button pressed; -1 after any key event
    int32_t quitRequest = 0;    // Escape pressed, window closed or an end signal caught
};

// The one input record, filled by PumpEvents.
extern InputState input;

// Drains all pending SDL events into `input`: held bits, the released button,
// last key and pad button, quit request. Bindings come from Settings.
void PumpEvents();

// Makes SIGTERM, SIGINT and SIGHUP ask the program to end: they are held pending
// (blocked) and taken by the next PumpEvents or EndSignal, which turn the first
// into a quit request, so each loop ends and the program shuts down in its usual
// order. No handler runs, so nothing is interrupted halfway. A second such signal
// ends the process at once (the default action). Call before SDL starts any thread:
// threads inherit the blocked set, and the signals wait for the main thread.
void CatchEndSignals();

// The signal that asked the program to end, 0 while none has; takes a pending one.
int EndSignal();

// A function called at the start of every PumpEvents before the queue is read;
// replays use it to feed scripted events. Null removes it.
void SetPumpHook(void (*hook)());
