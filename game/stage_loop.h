// The per-frame stage loop: input, world update, drawing, overlays.
#pragma once

#include "game/game_state.h"

struct Player;

// Runs frames until the attempt ends: the hero has finished, his countdown
// after leaving play has run out, a quit is pending, the title menu left the
// title stage, or a session stop was requested.
void RunStageLoop(Player& hero);

// One frame of the stage loop, in its fixed order. A title menu choice that
// leaves the title (NEW GAME, CONTINUE, EXIT) ends the frame after the update:
// nothing is drawn and the frame is not counted.
void RunStageFrame(Player& hero);

// The picture of the running frame (play.attemptFrame): the playfield with the
// layer of the screen in charge over it (the title menu, the hiscore view, the
// options screen, the pause menu unless a quit question is pending), not presented.
void DrawStagePicture(const Player& hero);

// True while frame `frame` of the current attempt belongs to the intro phase.
bool InIntroPhase(int frame);
