// Internals of music playback shared with its tests and benchmark: the module record,
// the state the audio thread reads, the module sniffing and the hook itself.
#pragma once

#include <libmodplug/modplug.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

// A loaded module: the library's handle plus the master volume last handed to it.
struct MusicModule {
    ModPlugFile* file = nullptr;
    std::atomic<int> appliedVolume{-1}; // -1 until a volume has been set
};

// The module the hook is playing, or null.
extern std::atomic<MusicModule*> currentMusic;
// Master volume now applied to the module (0..128).
extern std::atomic<int> musicVolume;
// The user's music volume (0..128); the fade-in climbs to it.
extern std::atomic<int> musicTargetVolume;
// Added to musicVolume per hook call while it differs from the target; 0 until a caller sets it.
extern std::atomic<int> musicFadeStep;
// Plays still allowed; -1 repeats for ever.
extern std::atomic<int> musicLoopsLeft;

// True for data shaped like a module we ship: a 31-sample MOD with its signature at
// offset 1080, an XM with its header text, or a PowerPacker ("PP20") file.
bool LooksLikeShippedModule(const uint8_t* data, size_t size);

// Hands data that passes LooksLikeShippedModule to the library; null when refused or
// when the library cannot load it. The caller keeps ownership of data.
MusicModule* LoadMusicFromMemory(const uint8_t* data, size_t size);

// Copies the user's renderer values and the mixer output format into the library.
void ApplyMusicSettings();

// The mixer's music hook: steps the fade, renders `length` bytes of 16-bit stereo
// straight into stream and handles the end of the module (restart or self-removal).
// `module` is the MusicModule being played. Runs on the audio thread; allocates nothing.
void MusicHook(void* module, uint8_t* stream, int length);
