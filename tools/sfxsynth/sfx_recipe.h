// The text recipe of one sound effect: global shaping plus layers of oscillators or noise.
#pragma once

#include <string>
#include <vector>

// The quietest loudness a recipe may ask for, in LUFS.
constexpr double kSfxQuietestLoudness = -60.0;

// Oscillator shapes a layer can use; Noise is interpolated sample-and-hold noise.
enum class Wave { Sine, Square, Triangle, Saw, Noise };

// How a layer's pitch travels from its start to its end frequency.
enum class Glide { Exponential, Linear };

// One voice of the effect, placed on the timeline at `start` for `length` seconds.
struct SfxLayer {
    Wave wave = Wave::Sine;
    double start = 0.0;       // seconds from the beginning of the effect
    double length = 0.1;      // seconds
    double freqStart = 440.0; // Hz (for noise: how often a new random value is drawn)
    double freqEnd = 440.0;   // Hz at the end of the layer
    Glide glide = Glide::Exponential;
    double duty = 0.5;         // square wave: fraction of the period spent high
    double vibratoRate = 0.0;  // Hz
    double vibratoDepth = 0.0; // fraction of the frequency
    double tremoloRate = 0.0;  // Hz
    double tremoloDepth = 0.0; // 0..1, 1 swings the amplitude down to silence
    double attack = 0.002;     // seconds of linear rise
    double decay = 0.0;        // exponential time constant in seconds, 0 = no decay
    double release = 0.005;    // seconds of linear fall at the layer's end
    double gain = 1.0;
    unsigned seed = 1;     // noise generator seed, so every build renders the same bytes
    double lowpass = 0.0;  // Hz, 0 = off (two one-pole stages)
    double highpass = 0.0; // Hz, 0 = off
};

// A whole effect: its length, master shaping and layers.
struct SfxRecipe {
    double length = 0.2; // seconds
    double peak = 0.7;   // the mix is normalised to this peak (0..1 of full scale)
    // With a loudness, the loudest 100 ms instead reach this many LUFS (played at full volume on
    // both channels), a soft limiter holding the peak; 0 = off.
    double loudness = 0.0;
    double fadeMs = 4.0;    // fade in and out at the very ends, against clicks
    double lowpass = 0.0;   // master filter, Hz, 0 = off
    double highpass = 20.0; // master filter, Hz, 0 = off; the default keeps DC out of the mix
    std::vector<SfxLayer> layers;
};

// Parses recipe text; on failure returns false and sets `error` to "line N: reason".
bool ParseRecipe(const std::string& text, SfxRecipe& recipe, std::string& error);
