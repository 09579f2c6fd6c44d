// The configuration file "fribb3.cfg": its text read into Settings, and Settings written back as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/settings.h"

// Base name and extension of the configuration file in the working directory.
constexpr const char* kConfigName = "fribb3";
constexpr const char* kConfigExtension = "cfg";
// A bigger file is no configuration this game wrote (that is under a kilobyte)
// and is ignored like a missing one.
constexpr size_t kMaxConfigSize = 1 << 20;

// Sets fullscreen, zoom, smooth and scale2x of s from the first "gfxmode="
// value of text (size bytes, need not end in a zero byte; 2 when the key is
// absent). Smoothing and Scale2x stay off unless full screen or zoom is on.
// Empty text changes nothing; the colour depth is never touched.
void ApplyGraphicsMode(const uint8_t* text, size_t size, Settings& s);

// Sets bindings, volumes and music values of s from text (size bytes, need not
// end in a zero byte). Keys are found by substring anywhere in the text; an
// action without a "k_" key loses its key, a missing or negative "j_" value
// keeps the pad binding; volumes and ranged values are clamped only when their
// key is present; the music flags can only be set. Empty text changes nothing.
void ApplyConfiguration(const uint8_t* text, size_t size, Settings& s);

// The 29 lines of the file for s, in their fixed order.
std::string FormatConfiguration(const Settings& s);

// ApplyGraphicsMode with the file's contents on the run's settings; a missing,
// unreadable, empty or oversized file changes nothing.
void ReadGraphicsMode();

// ApplyConfiguration with the file's contents on the run's settings; a missing,
// unreadable, empty or oversized file changes nothing.
void ReadConfiguration();

// Replaces the file with FormatConfiguration of the run's settings. The old
// file survives any failure whole; false then, and nothing is reported.
bool WriteConfiguration();
