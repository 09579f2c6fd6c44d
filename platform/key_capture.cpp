// Key and pad button capture: duplicate checks against the bindings, then the release wait.
#include "platform/key_capture.h"

#include "core/settings.h"
#include "platform/input.h"
#include "platform/release_wait.h"

const int kKeyCaptureOrder[kKeyCaptureCount] = {ActionStart, ActionLeft, ActionRight, ActionUp,
                                                ActionDown,  ActionJump, ActionPause};
const int kPadCaptureOrder[kPadCaptureCount] = {ActionStart, ActionJump, ActionPause};

KeyCapture capture;

namespace {

bool KeyBound(int key)
{
    for (int a = 0; a < ActionCount; ++a)
        if (settings.keys[a] == key)
            return true;
    return false;
}

bool ButtonBound(int button)
{
    for (int a : kPadCaptureOrder)
        if (settings.pad[a] == button)
            return true;
    return false;
}

// Stores a free key or button and moves on; the sequence ends after `count` bindings.
void Store(int* binding, int value, int count)
{
    if (binding)
        *binding = value;
    capture.captureStep += 1;
    if (capture.captureStep >= count)
        capture.captureActive = 0;
}

} // namespace

void CaptureKey(int* binding)
{
    const int key = input.lastKey;
    if (key > 0) {
        if (KeyBound(key)) {
            capture.captureDuplicate = 1;
        } else {
            Store(binding, key, kKeyCaptureCount);
            capture.captureDuplicate = 0;
        }
    }
    WaitAllReleased();
}

void CapturePadButton(int* binding)
{
    capture.captureDuplicate = 0;
    const int button = input.lastPadButton;
    if (binding && button != -1) {
        if (ButtonBound(button))
            capture.captureDuplicate = 1;
        else
            Store(binding, button, kPadCaptureCount);
    }
    WaitAllReleased();
}
