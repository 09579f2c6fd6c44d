// What the screens and the tools watching a session share with it: the stop request and the observer.
#pragma once

struct Player;

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

// True once RequestSessionStop was called in this session, or once a signal
// asked the program to end (EndSignal); every screen ends on it.
bool SessionStopRequested();

// Forgets a stop request; a session calls it as it starts.
void ClearSessionStop();

// Called by the stage loop after each frame; passes the hero to the observer.
void NotifyFrameDone(const Player& hero);

// Called by the session when an attempt has ended; passes the hero and how to the observer.
void NotifyAttemptEnded(const Player& hero, const char* how);
