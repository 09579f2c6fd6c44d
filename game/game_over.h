// Game over: the live stage under "GAME OVER!", the name entry, and the continue question.
#pragma once

struct Player;

// After the last life is lost: the title tune, "GAME OVER!" with the score
// and the blinking cause of death over the stage (its enemies and effects
// still moving) until a confirm, the name entry, then "CONTINUE?" until left
// (yes: the same stage again with a new game's score and lives) or right
// (no: the title, on the hiscore view when a row was won). A quit asked for
// meanwhile is dropped.
void RunGameOver(Player& hero);
