// The session-wide game state and the new-game reset.
#include "game/game_state.h"

#include "game/title_menu.h"
#include "world/world_state.h"

GameState game;

void ResetGame(int highlight)
{
    world.score = 0;
    world.lives = kStartLives;
    game.stage = 0;
    game.menuState = 0;
    game.hiscoreHighlight = highlight;
    ResetTitleScroller();
    SetStatusMessage("");
}
