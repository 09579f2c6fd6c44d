// The session-wide game state.
#include "game/game_state.h"

GameState game;
