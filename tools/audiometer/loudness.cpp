// K-weighting filters designed for any sample rate, and the gating and windowing of BS.1770.
#include "loudness.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kLufsOffset = -0.691; // makes a 997 Hz full-scale sine in one channel read -3.01
constexpr double kBlockSeconds = 0.4;
constexpr double kBlockStepSeconds = 0.1; // blocks overlap by 75 %
constexpr double kAbsoluteGateLufs = -70.0;
constexpr double kRelativeGateLu = -10.0;
constexpr double kFullScale = 32768.0;

struct Biquad {
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double Step(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The high-frequency shelf (+4 dB above about 1.7 kHz, the head's effect) of the K filter.
Biquad ShelfFilter(int rate)
{
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(std::numbers::pi * f0 / rate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    return {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q + k * k) / a0,
            2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

// The low-frequency roll-off (a second-order high-pass near 38 Hz) of the K filter.
Biquad RollOffFilter(int rate)
{
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(std::numbers::pi * f0 / rate);
    const double a0 = 1.0 + k / q + k * k;
    return {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
}

} // namespace

double PowerToLufs(double power)
{
    return power > 0 ? std::max(kSilentLufs, kLufsOffset + 10.0 * std::log10(power)) : kSilentLufs;
}

std::vector<double> KWeightedPower(const std::vector<float>& interleaved, int channels, int rate)
{
    const size_t frames = channels > 0 ? interleaved.size() / channels : 0;
    std::vector<double> power(frames, 0.0);
    for (int c = 0; c < channels; ++c) {
        Biquad shelf = ShelfFilter(rate), rollOff = RollOffFilter(rate);
        for (size_t i = 0; i < frames; ++i) {
            const double y = rollOff.Step(shelf.Step(interleaved[i * channels + c]));
            power[i] += y * y;
        }
    }
    return power;
}

double IntegratedLoudness(const std::vector<double>& power, int rate)
{
    const size_t block = static_cast<size_t>(kBlockSeconds * rate);
    const size_t step = static_cast<size_t>(kBlockStepSeconds * rate);
    std::vector<double> prefix(power.size() + 1, 0.0);
    for (size_t i = 0; i < power.size(); ++i)
        prefix[i + 1] = prefix[i] + power[i];
    std::vector<double> blocks;
    for (size_t start = 0; start + block <= power.size(); start += step) {
        const double mean = (prefix[start + block] - prefix[start]) / block;
        if (PowerToLufs(mean) > kAbsoluteGateLufs)
            blocks.push_back(mean);
    }
    if (blocks.empty())
        return kSilentLufs;
    double sum = 0;
    for (double b : blocks)
        sum += b;
    const double gate = PowerToLufs(sum / blocks.size()) + kRelativeGateLu;
    double kept = 0;
    size_t count = 0;
    for (double b : blocks) {
        if (PowerToLufs(b) > gate) {
            kept += b;
            ++count;
        }
    }
    return count ? PowerToLufs(kept / count) : kSilentLufs;
}

double LoudestWindowLoudness(const std::vector<double>& power, int rate, double seconds)
{
    const size_t window = std::max<size_t>(1, static_cast<size_t>(seconds * rate));
    double sum = 0, best = 0;
    for (size_t i = 0; i < power.size(); ++i) {
        sum += power[i];
        if (i >= window)
            sum -= power[i - window];
        best = std::max(best, sum);
    }
    return PowerToLufs(best / window);
}

std::vector<float> ToFloat(const std::vector<int16_t>& samples, double gain)
{
    std::vector<float> out(samples.size());
    for (size_t i = 0; i < samples.size(); ++i)
        out[i] = static_cast<float>(samples[i] * gain / kFullScale);
    return out;
}
