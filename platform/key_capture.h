// Capturing new key and pad button bindings one at a time, refusing ones already bound.
#pragma once

#include <cstdint>

// Bindings captured in one keyboard sequence (all seven) and one pad sequence
// (the three buttons; the hat bindings are never captured).
constexpr int kKeyCaptureCount = 7;
constexpr int kPadCaptureCount = 3;

// Actions (ActionIndex) in the order their keys are asked for: start, left,
// right, up, down, jump, pause.
extern const int kKeyCaptureOrder[kKeyCaptureCount];
// Actions in the order their pad buttons are asked for: start, jump, pause.
extern const int kPadCaptureOrder[kPadCaptureCount];

// Where a capture sequence stands.
struct KeyCapture {
    int32_t captureActive = 0;    // a sequence runs
    int32_t captureDuplicate = 0; // the key or button just offered is already bound
    int32_t captureStep = 0;      // index into kKeyCaptureOrder or kPadCaptureOrder
};

// The one capture state, read and drawn by the options screen.
extern KeyCapture capture;

// When a key went down (lastKey > 0): one already bound to any of the seven
// actions sets captureDuplicate; any other is stored in *binding (unless null),
// clears captureDuplicate and moves captureStep on, ending the sequence after
// the seventh. Always ends with WaitAllReleased.
void CaptureKey(int* binding);

// Clears captureDuplicate; when a pad button went down (lastPadButton != -1)
// and binding is given: a button already bound as start, jump or pause sets
// captureDuplicate, any other is stored and moves captureStep on, ending the
// sequence after the third. Always ends with WaitAllReleased.
void CapturePadButton(int* binding);
