// The savegame: the last completed stage, remembered between runs.
#pragma once

// The last completed stage from the savegame file, 0 when there is none.
// Stand-in: there is no savegame file yet, so always 0.
int ReadSaveGame();

// Records stage c (1..9) as the last completed one and sets continueStage.
// Stand-in: only continueStage changes; no file is written yet.
void WriteSaveGame(int c);
