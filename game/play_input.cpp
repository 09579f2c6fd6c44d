// The game's reading of the event pump: controls held for the hero, the quit flag, the pause trigger.
#include "game/play_input.h"

#include "game/game_state.h"
#include "platform/input.h"

PlayerControls playerControls;

void PollInput(int stage, int allowPause)
{
    PumpEvents();
    const uint32_t h = input.held;
    if (h & kButtonStart)
        playerControls.start = 1;
    if (h & kButtonLeft)
        playerControls.left = 1;
    else if (h & kButtonRight)
        playerControls.right = 1;
    if (h & (kButtonUp | kButtonJump))
        playerControls.jump = 1;
    if (h & kButtonDown)
        playerControls.down = 1;

    if (input.quitRequest)
        game.quitPending = 1;

    if (allowPause && stage > 0 && !game.paused && (input.released == kButtonPause || input.released == kButtonStart)) {
        game.paused = 1;
        game.menuState = kPauseGoOn;
        input.released = 0;
    }

    if (!(h & kButtonStart))
        playerControls.start = 0;
    if (!(h & kButtonLeft))
        playerControls.left = 0;
    if (!(h & kButtonRight))
        playerControls.right = 0;
    if (!(h & (kButtonUp | kButtonJump)))
        playerControls.jump = 0;
    if (!(h & kButtonDown))
        playerControls.down = 0;
}
