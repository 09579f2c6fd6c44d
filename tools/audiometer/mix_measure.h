// Measures what a player hears: tunes rendered through the game's music hook, effects at the game's
// channel volume, each reduced to loudness, spectrum balance and the behaviour of the loop seam.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "wav_file.h"

constexpr int kGameRate = 22050; // the mixer rate the game opens
constexpr int kGameChannels = 2;
// Band edges in Hz for the spectrum shares: below 250, 250..500, 500..4000, above 4000.
inline const std::vector<double> kMixBandEdges = {250.0, 500.0, 4000.0};
enum MixBand { BandLow, BandLowMid, BandMid, BandHigh };

// The channels of a tune by their part, as bit masks over the module's channels.
struct ChannelRoles {
    unsigned lead = 0; // channels named lead...
    unsigned bass = 0; // channels named bass...
    unsigned hats = 0; // channels named hat...
};

// Reads the roles from the `channels` statement of a tune source text.
ChannelRoles ChannelRolesOf(const std::string& tuneSource);

// The game's music output for a module started with PlayMusic(module, -1) at full volume and
// the default renderer settings: `frames` frames of interleaved 16-bit stereo, as many hook calls
// as needed. Empty when the module does not load.
std::vector<int16_t> RenderThroughHook(const std::vector<uint8_t>& mod, long frames);

// What happens where a looping tune starts again.
struct SeamMeasure {
    double shiftMs = 0;   // when the second pass starts, against the tune's own length (beats drift by this)
    double dropoutMs = 0; // longest stretch near the restart whose 10 ms level is 10 dB or more below the median
};

// Finds the restart in `stereo` (a render of more than one pass) near `passFrames` by matching the
// tune's first frames, and measures the level around it against the median level of the first pass.
SeamMeasure MeasureSeam(const std::vector<int16_t>& stereo, long passFrames);

// One tune as the game plays it.
struct TuneMeasure {
    double seconds = 0;                  // one pass
    double integrated = 0;               // LUFS over one pass
    double loudest = 0;                  // loudest 100 ms, LUFS
    double peakDb = 0;                   // sample peak, dBFS
    long clipped = 0;                    // samples at full scale
    std::vector<double> bands;           // energy shares by kMixBandEdges
    double lead = 0, bass = 0, hats = 0; // each part alone, integrated LUFS
    std::vector<double> sections;        // integrated LUFS of each pattern of the order list, in play order
    SeamMeasure seam;
};

// Renders the tune (one pass plus a second around the seam when `looping`) and each part alone.
TuneMeasure MeasureTune(const std::vector<uint8_t>& mod, const ChannelRoles& roles, bool looping);

// One effect as the game plays it: mono samples at `channelGain` on both channels.
struct EffectMeasure {
    double loudest = 0;        // loudest 100 ms, LUFS
    double peakDb = 0;         // sample peak of the file, dBFS
    std::vector<double> bands; // energy shares by kMixBandEdges
};

EffectMeasure MeasureEffect(const WavAudio& wav, double channelGain);
