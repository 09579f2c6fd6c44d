// Session-wide game state shared by the session loop, its screens, the input layer and the renderer.
#pragma once

struct GameState {
    int stage = 0;             // 0 title, 1..10 playable, 11 only as the ending starts, -1 in test mode
    int continueStage = 0;     // last completed stage from the savegame, 0 none
    int menuState = 0;         // title menu state, or the pause menu cursor while paused
    int paused = 0;            // pause menu open
    int quitPending = 0;       // the game's quit flag; set by PollInput from quitRequest
    int hiscoreHighlight = -1; // hiscore row that blinks in the hiscore view, -1 none
    int reloadMusic = 1;       // the next attempt start loads and starts music
    int leaveTitle = 0;        // the title menu chose an item that ends the title stage
    bool testMode = false;     // playing a map file from the working directory
};

// The one GameState of the process.
extern GameState game;

// Pause menu cursor values (menuState while paused).
constexpr int kPauseSuicide = 1;
constexpr int kPauseGoOn = 2;
constexpr int kPauseExit = 3;

// The last frame of an attempt's intro phase ("FRIBB, RUN!"); the title stage has none.
constexpr int kIntroLastFrame = 180;
