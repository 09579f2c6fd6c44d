// Feeding a replay script into the event pump, and recording a player's input as a script.
#pragma once

#include <string>

#include "app/replay_script.h"

// From the next PumpEvents on, each input poll holds the script's buttons for
// that poll: key presses and releases of the current keyboard bindings are
// queued at every change. The script must outlive the playback.
void StartScriptedInput(const ReplayScript* script);

// From the next PumpEvents on, the held buttons of every poll are remembered.
void StartInputRecording();

// The recorded polls as a script (recording goes on).
std::string RecordedScript();

// Stops playback or recording and removes the pump hook.
void StopReplayInput();

// Number of input polls since playback or recording started.
long ReplayPollCount();

// Calls reached once, when limit input polls have passed since the last stage
// frame (a guard against a screen that would wait for input for ever; each
// stage frame starts the count again). A limit of 0 or a null callback removes
// the guard; starting playback or recording keeps it.
void SetReplayPollLimit(long limit, void (*reached)());

// Tells the poll guard that a stage frame has run.
void NoteStageFrame();
