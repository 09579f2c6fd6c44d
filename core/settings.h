// The user configuration of the run: volumes, bindings, music renderer values, graphics choices.
#pragma once

#include <cstdint>

// Index of an action in Settings.keys and Settings.pad; the order is the file's.
enum ActionIndex {
    ActionJump = 0,
    ActionPause = 1,
    ActionStart = 2,
    ActionUp = 3,
    ActionDown = 4,
    ActionLeft = 5,
    ActionRight = 6,
    ActionCount = 7,
};

// Action names as they appear in the k_ and j_ keys of the configuration file.
extern const char* const kActionNames[ActionCount];

// Library flag values of the module renderer settings.
constexpr int kMpOversampling = 1;
constexpr int kMpNoiseReduction = 2;
constexpr int kMpReverb = 4;
constexpr int kMpMegabass = 8;
constexpr int kMpSurround = 16;

struct Settings {
    int musicVolume = 100;                                   // percent 0..100
    int sfxVolume = 15;                                      // percent 0..100
    int keys[ActionCount] = {32, 9, 13, 273, 274, 276, 275}; // SDL 1.2 key symbols, -1 unbound
    int pad[ActionCount] = {0, 3, 7, 1, 4, 8, 2};            // buttons (jump, pause, start), hat bits (directions)
    int mpFlags = kMpOversampling | kMpNoiseReduction;
    int mpResamplingMode = 1;
    int mpReverbDepth = 0;
    int mpReverbDelay = 0;
    int mpBassAmount = 0;
    int mpBassRange = 0;
    int mpSurroundDepth = 0;
    int mpSurroundDelay = 0;
    int fullscreen = 1;
    int zoom = 1;
    int colorDepth = 16;
    int smooth = 0;
    int scale2x = 0;

    bool operator==(const Settings&) const = default;
};

// The one Settings record of the run.
extern Settings settings;

// Puts the built-in keyboard and pad bindings in place (volumes untouched).
void ResetBindings();
