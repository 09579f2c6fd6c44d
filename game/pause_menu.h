// The pause menu (SUICIDE, GO ON, EXIT) and the quit confirmation.
#pragma once

#include "game/game_state.h"

struct Player;

// One frame of the open pause menu, acting on the released button: directions
// move the cursor, start or jump confirm the item.
void PauseStep(Player& hero);

// The pause layer: dimmed playfield, "-PAUSE-" and the three items, the
// selected one blinking.
void DrawPauseLayer(int frame);

// "SURE TO QUIT?" over the dimmed stage until left (yes) or right (no) is
// released; no clears the quit request and play goes on.
void QuitConfirmation(Player& hero);
