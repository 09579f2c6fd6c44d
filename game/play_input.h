// Reading the buttons for play: the hero's controls, the quit flag and the pause trigger.
#pragma once

#include "world/player.h"

#include <cstdint>

// The controls of the latest poll; the stage loop steers the hero with them.
extern PlayerControls playerControls;

// The controls for the held buttons (InputBits), given the controls of the poll before: start,
// left, jump (jump or up) and down as held; right as held, except that pressing it while left is
// held does nothing (a right already held stays on beside left).
PlayerControls ControlsFromHeld(uint32_t held, const PlayerControls& before);

// PumpEvents, then the player controls from the held buttons, quitPending from
// the quit request and, when allowPause is set in a playable stage, the pause
// trigger (opens the pause menu on GO ON for a released start or pause and
// swallows that release).
void PollInput(int stage, int allowPause);
