// The synthesiser proper: oscillators, pitch glides, envelopes, filters and the final mix.
#include "sfx_render.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "loudness.h"

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Shortest fade at either end, even when a recipe asks for less: a click-free start and end.
constexpr double kMinFadeMs = 2.0;

// A small deterministic generator (xorshift32) so noise is the same on every build.
struct NoiseSource {
    uint32_t state;
    explicit NoiseSource(unsigned seed) : state(seed ? seed : 0x9e3779b9u) {}
    double Next() // uniform in [-1, 1)
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return static_cast<double>(state) / 2147483648.0 - 1.0;
    }
};

// Two cascaded one-pole low-pass stages (12 dB per octave).
struct LowPass {
    double a = 0.0, s1 = 0.0, s2 = 0.0;
    explicit LowPass(double hz) { a = hz > 0.0 ? 1.0 - std::exp(-kTwoPi * hz / kSfxRate) : 1.0; }
    double Step(double x)
    {
        s1 += a * (x - s1);
        s2 += a * (s1 - s2);
        return s2;
    }
};

// One-pole high-pass: the input minus its own low-passed copy.
struct HighPass {
    double a = 0.0, low = 0.0;
    bool on = false;
    explicit HighPass(double hz) : on(hz > 0.0) { a = on ? 1.0 - std::exp(-kTwoPi * hz / kSfxRate) : 0.0; }
    double Step(double x)
    {
        if (!on)
            return x;
        low += a * (x - low);
        return x - low;
    }
};

// Polynomial band-limited step: smooths a jump of 2 at phase 0 over one sample on each
// side, so square and saw edges do not fold high harmonics back as audible aliasing.
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

// One oscillator sample at `phase` (0..1) advancing `dt` per sample.
double Oscillator(Wave wave, double phase, double dt, double duty)
{
    switch (wave) {
    case Wave::Sine:
        return std::sin(kTwoPi * phase);
    case Wave::Square: {
        double falling = phase - duty;
        if (falling < 0.0)
            falling += 1.0;
        return (phase < duty ? 1.0 : -1.0) + PolyBlep(phase, dt) - PolyBlep(falling, dt);
    }
    case Wave::Triangle:
        return phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase;
    case Wave::Saw:
        return 2.0 * phase - 1.0 - PolyBlep(phase, dt);
    case Wave::Noise:
        break;
    }
    return 0.0;
}

double FrequencyAt(const SfxLayer& l, double t)
{
    const double x = std::clamp(t / l.length, 0.0, 1.0);
    double f = l.glide == Glide::Exponential ? l.freqStart * std::pow(l.freqEnd / l.freqStart, x)
                                             : l.freqStart + (l.freqEnd - l.freqStart) * x;
    if (l.vibratoRate > 0.0)
        f *= 1.0 + l.vibratoDepth * std::sin(kTwoPi * l.vibratoRate * t);
    return f;
}

double EnvelopeAt(const SfxLayer& l, double t)
{
    double e = 1.0;
    if (l.attack > 0.0 && t < l.attack)
        e = t / l.attack;
    if (l.decay > 0.0)
        e *= std::exp(-std::max(0.0, t - l.attack) / l.decay);
    const double left = l.length - t;
    if (l.release > 0.0 && left < l.release)
        e *= std::max(0.0, left / l.release);
    if (l.tremoloRate > 0.0)
        e *= 1.0 - l.tremoloDepth * 0.5 * (1.0 - std::cos(kTwoPi * l.tremoloRate * t));
    return e;
}

void MixLayer(const SfxLayer& l, std::vector<double>& mix)
{
    const size_t first = static_cast<size_t>(std::lround(l.start * kSfxRate));
    const size_t count = static_cast<size_t>(std::lround(l.length * kSfxRate));
    NoiseSource noise(l.seed);
    LowPass lp(l.lowpass);
    HighPass hp(l.highpass);
    double phase = 0.0;
    double prevNoise = noise.Next(), nextNoise = noise.Next();
    for (size_t i = 0; i < count && first + i < mix.size(); ++i) {
        const double t = static_cast<double>(i) / kSfxRate;
        // Noise may redraw faster than the sample rate (plain white noise); tones stay below Nyquist.
        const double dt = FrequencyAt(l, t) / kSfxRate;
        double v = l.wave == Wave::Noise ? prevNoise + (nextNoise - prevNoise) * std::min(phase, 1.0)
                                         : Oscillator(l.wave, phase, std::min(dt, 0.5), l.duty);
        phase += dt;
        while (phase >= 1.0) {
            phase -= 1.0;
            prevNoise = nextNoise;
            nextNoise = noise.Next();
        }
        if (l.lowpass > 0.0)
            v = lp.Step(v);
        v = hp.Step(v);
        mix[first + i] += v * l.gain * EnvelopeAt(l, t);
    }
}

// Above this share of the ceiling the limiter bends the wave smoothly towards the ceiling.
constexpr double kLimiterKnee = 0.5;
constexpr double kMomentarySeconds = 0.1;
constexpr int kGainSearchSteps = 40;

// Soft limiter: straight up to the knee, then a tanh curve that never passes the ceiling.
double Limit(double v, double ceiling)
{
    const double knee = kLimiterKnee * ceiling, a = std::fabs(v);
    if (a <= knee)
        return v;
    return std::copysign(knee + (ceiling - knee) * std::tanh((a - knee) / (ceiling - knee)), v);
}

// The loudest 100 ms of the mix at `gain` through the limiter, played on both channels.
double LoudestAt(const std::vector<double>& mix, double gain, double ceiling)
{
    std::vector<float> limited(mix.size());
    for (size_t i = 0; i < mix.size(); ++i)
        limited[i] = static_cast<float>(Limit(mix[i] * gain, ceiling));
    std::vector<double> power = KWeightedPower(limited, 1, kSfxRate);
    for (double& p : power)
        p *= 2.0; // the mixer plays a mono effect on both channels
    return LoudestWindowLoudness(power, kSfxRate, kMomentarySeconds);
}

// Scales the mix to the recipe's loudness, the limiter holding its peak; the search runs over
// the gain in decibels, where loudness grows steadily with it.
void ApplyLoudness(std::vector<double>& mix, double target, double ceiling)
{
    double low = -120.0, high = 120.0;
    for (int i = 0; i < kGainSearchSteps; ++i) {
        const double mid = 0.5 * (low + high);
        (LoudestAt(mix, std::pow(10.0, mid / 20.0), ceiling) < target ? low : high) = mid;
    }
    const double gain = std::pow(10.0, low / 20.0);
    for (double& v : mix)
        v = Limit(v * gain, ceiling);
}

} // namespace

std::vector<int16_t> RenderRecipe(const SfxRecipe& recipe)
{
    const size_t total = static_cast<size_t>(std::lround(recipe.length * kSfxRate));
    std::vector<double> mix(total, 0.0);
    for (const SfxLayer& l : recipe.layers)
        MixLayer(l, mix);

    LowPass lp(recipe.lowpass);
    HighPass hp(recipe.highpass);
    for (double& v : mix) {
        if (recipe.lowpass > 0.0)
            v = lp.Step(v);
        v = hp.Step(v);
    }

    const size_t fade = static_cast<size_t>(std::max(recipe.fadeMs, kMinFadeMs) * kSfxRate / 1000.0);
    for (size_t i = 0; i < total; ++i) {
        const size_t edge = std::min(i, total - 1 - i);
        if (edge < fade)
            mix[i] *= static_cast<double>(edge) / static_cast<double>(fade);
    }

    double scale = 32767.0;
    if (recipe.loudness < 0.0) {
        ApplyLoudness(mix, recipe.loudness, recipe.peak);
    } else {
        double peak = 0.0;
        for (double v : mix)
            peak = std::max(peak, std::fabs(v));
        scale = peak > 0.0 ? recipe.peak * 32767.0 / peak : 0.0;
    }
    std::vector<int16_t> out(total);
    for (size_t i = 0; i < total; ++i)
        out[i] = static_cast<int16_t>(std::clamp(std::lround(mix[i] * scale), -32767L, 32767L));
    return out;
}
