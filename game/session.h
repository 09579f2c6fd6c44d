// The game session: attempt after attempt until the player quits.
#pragma once

// Plays the session; returns when the user quits from the title, or when a
// test-mode stage is finished.
void RunSession(int testMode);
