// The screens between attempts: stage complete, story, ending, game over (stand-ins).
#pragma once

struct Player;

// After a finished stage: the stage picture with "CONGRATULATIONS" for a moment.
void RunStageComplete(Player& hero);

// Before a game started from the menu; stage is the first stage to be played.
// Stand-in: there are no story pictures yet, so nothing is shown.
void RunStoryScreens(int stage);

// After the last stage: a new game on the title stage.
void RunEnding();

// No lives left: "GAME OVER!" over the stage until a confirm is released, then
// a new game on the title stage.
void RunGameOver(Player& hero);
