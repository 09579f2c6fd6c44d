// The game's reading of the event pump: controls held for the hero, the quit flag, the pause trigger.
#include "game/play_input.h"

#include "game/game_state.h"
#include "platform/input.h"

PlayerControls playerControls;

PlayerControls ControlsFromHeld(uint32_t held, const PlayerControls& before)
{
    PlayerControls c;
    c.start = (held & kButtonStart) ? 1 : 0;
    c.left = (held & kButtonLeft) ? 1 : 0;
    c.right = (held & kButtonRight) && (!c.left || before.right) ? 1 : 0;
    c.jump = (held & (kButtonUp | kButtonJump)) ? 1 : 0;
    c.down = (held & kButtonDown) ? 1 : 0;
    return c;
}

void PollInput(int stage, int allowPause)
{
    PumpEvents();
    playerControls = ControlsFromHeld(input.held, playerControls);

    if (input.quitRequest)
        game.quitPending = 1;

    if (allowPause && stage > 0 && !game.paused && (input.released == kButtonPause || input.released == kButtonStart)) {
        game.paused = 1;
        game.menuState = kPauseGoOn;
        input.released = 0;
    }
}
