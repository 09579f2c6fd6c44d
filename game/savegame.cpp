// Savegame stand-in: keeps the continue stage in memory only, until the file format is built.
#include "game/savegame.h"

#include "game/game_state.h"

int ReadSaveGame()
{
    return 0;
}

void WriteSaveGame(int c)
{
    game.continueStage = c;
}
