// The game session: attempt after attempt until the player quits, with hooks for replays.
#pragma once

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

// Callbacks for tools that watch a session (replays); either may be null.
struct SessionObserver {
    // After every frame of the stage loop, with the hero as the frame left him.
    void (*afterFrame)(const Player& hero) = nullptr;
    // When an attempt has ended, before the session decides what follows. how is
    // "finished", "killed", "fell", "timeup", "quit", "menu" or "stopped".
    void (*attemptEnded)(const Player& hero, const char* how) = nullptr;
};

// Installs the observer (copied); null removes it.
void SetSessionObserver(const SessionObserver* observer);

// Asks the running session to stop: the stage loop ends before its next frame
// and RunSession returns without starting another attempt. Cleared when a
// session starts.
void RequestSessionStop();

// True once RequestSessionStop was called in this session.
bool SessionStopRequested();

// Called by the stage loop after each frame; passes the hero to the observer.
void NotifyFrameDone(const Player& hero);

// Why the attempt of this hero ended, as passed to attemptEnded.
const char* AttemptEndReason(const Player& hero);
