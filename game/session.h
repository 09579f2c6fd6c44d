// The game session: attempt after attempt until the player quits, with hooks for replays.
#pragma once

#include "game/session_stop.h"

struct Player;

// Plays the session; returns when the user quits from the title, or when a
// test-mode stage is finished.
void RunSession(int testMode);

// Where a session begins. The default is the normal game: the savegame is
// read and the title stage comes first.
struct SessionStart {
    int stage = 0;                 // first stage played: 0 the title, 1..10 straight into that stage
    const char* mapFile = nullptr; // when set, play this map file as test mode does (stage -1)
};

// RunSession with an explicit start; everything after the start is the normal session.
void RunSessionFrom(const SessionStart& start);

// Why the attempt of this hero ended, as passed to attemptEnded.
const char* AttemptEndReason(const Player& hero);
