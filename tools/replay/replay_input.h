// Feeding a replay script into the event pump, and recording a player's input as a script.
#pragma once

#include <string>

#include "tools/replay/replay_script.h"

// From the next PumpEvents on, each input poll holds what the script holds for
// that poll: at every change key and pad button events are queued (a logical
// button as its keyboard binding at the moment it goes down) and the simulated
// joystick's buttons move. Each look of a release wait is a poll too, and the
// wait sees the keys and buttons the script holds. The script must outlive
// the playback.
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

// Calls watcher at the start of every input poll of a playback or recording
// with the poll's 1-based number, before its input is fed; null removes it.
void SetPollWatcher(void (*watcher)(long poll));
