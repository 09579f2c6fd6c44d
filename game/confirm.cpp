// The confirm test of the session screens and the release drain between them.
#include "game/confirm.h"

#include "game/waiting_screen.h"
#include "platform/input.h"

int IsConfirmRelease()
{
    const uint32_t r = input.released;
    return (r == kButtonStart || r == kButtonJump || r == kButtonPause) ? 1 : 0;
}

void DrainConfirm()
{
    WaitingScreen drain;
    drain.done = [] { return IsConfirmRelease() == 0; };
    drain.input = WaitInput::Controls;
    RunWaitingScreen(drain);
}
