// Tracker-module music through the mixer's music hook, with fade-in and play count.
#pragma once

#include <cstdint>

// Music ids; stage s >= 1 plays ((s - 1) mod 10) + 1.
enum MusicId {
    MusicTitle = 0,
    MusicStageFirst = 1,
    MusicStageLast = 10,
    MusicLevelComplete = 11,
    MusicJingle = 12,
    kMusicCount = 13,
};

// Entry names in the music archive, by MusicId (looked up with extension "mod").
extern const char* const kMusicNames[kMusicCount];

// The mixer output the modules are rendered for (start-up passes 22050 Hz, 2 channels).
void SetMusicOutputFormat(int frequency, int channels);

// An opaque loaded module.
struct MusicModule;

// Loads a module; null when the entry is missing or not a module we play.
MusicModule* LoadMusic(int id);

// Starts the module from its beginning; loops -1 repeats for ever, 0 or 1 plays once.
void PlayMusic(MusicModule* module, int loops);

// Stops the hook and releases the module; nothing for null.
void FreeMusic(MusicModule* module);

// Removes the music hook; nothing plays afterwards.
void StopMusicHook();

// Sets the music volume (0..128) at once, ending any fade.
void SetMusicVolume(int volume);

// The user's music volume on the 0..128 scale.
int MusicTargetVolume();

// Starts a stage's music with a fade-in from volume 1 up to the user's volume;
// with the user's volume at 0 nothing plays.
void PlayMusicFadingIn(MusicModule* module);

// True while a module is being played by the hook.
bool MusicPlaying();

// With on, modules are no longer rendered by the audio device but only by
// AdvanceMusic, in the mixer's buffer size, so a run on a virtual clock hears
// a tune end on the same frame every time. Off by default.
void PaceMusicByCaller(bool on);

// Renders ms milliseconds of the playing module when paced by the caller
// (the part of a buffer left over is carried to the next call); else nothing.
void AdvanceMusic(uint32_t ms);
