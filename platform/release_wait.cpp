// The release wait: sleeps and looks at the keyboard and the joystick until nothing is held.
#include "platform/release_wait.h"

#include <SDL.h>

#include "platform/input.h"
#include "platform/joystick.h"
#include "platform/tick_source.h"

namespace {

const uint8_t* simulatedKeys = nullptr;
int simulatedKeyCount = 0;
void (*afterSleepHook)() = nullptr;

bool IsLockKey(int sym)
{
    return sym == kKeyNumLock || sym == kKeyCapsLock || sym == kKeyScrollLock;
}

int HeldKeys()
{
    int count = 0;
    const uint8_t* keys = simulatedKeys;
    if (!keys)
        keys = SDL_GetKeyState(&count);
    else
        count = simulatedKeyCount;
    int sum = 0;
    for (int sym = 0; keys && sym < count; ++sym)
        if (!IsLockKey(sym))
            sum += keys[sym];
    return sum;
}

int HeldButtons()
{
    int sum = 0;
    const int buttons = JoystickButtonCount();
    for (int b = 0; b < buttons; ++b)
        sum += JoystickButton(b);
    return sum;
}

} // namespace

void WaitAllReleased()
{
    int held = 0;
    do {
        Delay(kReleasePollMs);
        SDL_PumpEvents();
        if (afterSleepHook)
            afterSleepHook();
        held = HeldKeys() + HeldButtons();
        // A program asked to end does not wait for a key that may never come up.
        if (EndSignal())
            break;
    } while (held != 0);
    input.lastPadButton = -1;
    input.lastKey = 0;
    input.released = 0;
    input.held = 0;
}

void SimulateReleaseWait(const uint8_t* keyState, int keyCount, void (*afterSleep)())
{
    simulatedKeys = keyState;
    simulatedKeyCount = keyState ? keyCount : 0;
    afterSleepHook = keyState ? afterSleep : nullptr;
}
