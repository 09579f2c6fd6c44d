// Loudness by the ITU-R BS.1770 method: K-weighting, gated integrated loudness and the loudest short window.
#pragma once

#include <cstdint>
#include <vector>

// What the meter reports for silence or a signal too short to measure.
constexpr double kSilentLufs = -100.0;

// K-weighted power of each frame, summed over the channels (left and right weigh 1).
// `interleaved` holds `channels` samples a frame, full scale at 1.0.
std::vector<double> KWeightedPower(const std::vector<float>& interleaved, int channels, int rate);

// Integrated loudness in LUFS: 400 ms blocks every 100 ms, the absolute gate at -70 LUFS
// and the relative gate 10 LU below the loudness of the blocks that pass it.
double IntegratedLoudness(const std::vector<double>& power, int rate);

// Loudness in LUFS of the loudest stretch of `seconds` (100 ms for the momentary peak),
// at any start sample; a shorter signal is measured whole, as if followed by silence.
double LoudestWindowLoudness(const std::vector<double>& power, int rate, double seconds);

// Loudness of a mean K-weighted power.
double PowerToLufs(double power);

// 16-bit samples as floats, full scale at 1.0, each multiplied by gain.
std::vector<float> ToFloat(const std::vector<int16_t>& samples, double gain = 1.0);
