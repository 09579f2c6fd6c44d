// Additive tones and noise/pitch-sweep drums, rendered to signed 8-bit samples with seeded noise.
#include "sample_synth.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <set>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAmigaPalClock = 7093789.2;
constexpr int kTrackerOctave2CPeriod = 428; // the period of tracker note C-2
constexpr int kTrackerA2 = 33;              // tracker note A-2, which sounds A3 for an instrument of base 3
constexpr double kConcertA3 = 220.0;        // Hz
// A steady tone loops 32 to 128 whole cycles, a beating one up to four beat spans: enough for
// some loop of an even number of samples to hold its cycle within about a cent of concert pitch.
constexpr int kFewestLoopCycles = 32, kMostLoopCycles = 128, kMostBeatSpans = 4;
constexpr int kMaxSampleBytes = 131070;    // a MOD sample length is a 16-bit word count
constexpr double kEdgeFadeSeconds = 0.004; // fade at the end of one-shot samples so they never click
constexpr int kSemitonesPerOctave = 12;

struct RecipeError {
    std::string text;
};

// Reads numeric recipe values, remembering which keys were used so typos are reported.
struct Values {
    const InstrumentRecipe& recipe;
    std::set<std::string> used;

    double Num(const std::string& key, double fallback, double lo, double hi)
    {
        used.insert(key);
        const auto it = recipe.params.find(key);
        if (it == recipe.params.end())
            return fallback;
        char* end = nullptr;
        const double v = std::strtod(it->second.c_str(), &end);
        if (*end != '\0' || v < lo || v > hi)
            throw RecipeError{key + "=" + it->second + " (expected " + std::to_string(lo) + ".." + std::to_string(hi) +
                              ")"};
        return v;
    }

    std::string Text(const std::string& key, const std::string& fallback)
    {
        used.insert(key);
        const auto it = recipe.params.find(key);
        return it == recipe.params.end() ? fallback : it->second;
    }

    void CheckAllUsed() const
    {
        for (const auto& [key, value] : recipe.params)
            if (!used.count(key))
                throw RecipeError{"unknown setting " + key + " for kind " + recipe.kind};
    }
};

// Deterministic white noise in -1..1, seeded from the instrument's name and recipe.
struct Noise {
    uint32_t state;
    double Next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / static_cast<double>(1u << 23) - 1.0;
    }
};

uint32_t SeedFor(const InstrumentRecipe& recipe, double extra)
{
    uint32_t h = 2166136261u; // FNV-1a over the name
    for (unsigned char c : recipe.name)
        h = (h ^ c) * 16777619u;
    return h ^ static_cast<uint32_t>(extra);
}

// Harmonic amplitude (signed) of harmonic h for a named wave shape.
double HarmonicAmplitude(const std::string& wave, int h, double duty)
{
    const bool odd = (h % 2) == 1;
    if (wave == "saw")
        return 1.0 / h;
    if (wave == "square")
        return odd ? 1.0 / h : 0.0;
    if (wave == "pulse")
        return std::sin(kPi * h * duty) / h;
    if (wave == "tri")
        return odd ? ((h / 2) % 2 ? -1.0 : 1.0) / (h * h) : 0.0;
    if (wave == "sine")
        return h == 1 ? 1.0 : 0.0;
    if (wave == "soft")
        return 1.0 / (h * h);
    if (wave == "organ") {
        switch (h) {
        case 1:
            return 1.0;
        case 2:
            return 0.7;
        case 3:
            return 0.45;
        case 4:
            return 0.35;
        case 6:
            return 0.2;
        case 8:
            return 0.15;
        default:
            return 0.0;
        }
    }
    if (wave == "flute")
        return h == 1 ? 1.0 : h == 2 ? 0.22 : h == 3 ? 0.1 : h == 4 ? 0.03 : 0.0;
    if (wave == "reed")
        return odd ? (h == 3 ? 0.75 : 1.0 / h) : 0.08 / h;
    if (wave == "bell")
        return h == 1 ? 1.0 : h == 2 ? 0.5 : h == 4 ? 0.45 : h == 6 ? 0.25 : h == 9 ? 0.15 : 0.0;
    if (wave == "mallet")
        return h == 1 ? 1.0 : h == 4 ? 0.35 : h == 10 ? 0.12 : 0.0;
    if (wave == "epiano")
        return h == 1 ? 1.0 : h == 2 ? 0.35 : h == 3 ? 0.12 : h == 7 ? 0.08 : 0.0;
    throw RecipeError{"unknown wave " + wave};
}

std::vector<int8_t> Quantise(const std::vector<double>& wave, double gain)
{
    double peak = 1e-9;
    for (double v : wave)
        peak = std::max(peak, std::fabs(v));
    std::vector<int8_t> out(wave.size());
    for (size_t i = 0; i < wave.size(); ++i) {
        const long v = std::lround(wave[i] / peak * 127.0 * gain);
        out[i] = static_cast<int8_t>(std::clamp<long>(v, -127, 127));
    }
    if (out.size() % 2)
        out.push_back(0);
    return out;
}

void FadeEdges(std::vector<double>& wave, double rate, bool fadeIn)
{
    const size_t n = std::min(wave.size(), static_cast<size_t>(kEdgeFadeSeconds * rate) + 1);
    for (size_t i = 0; i < n; ++i) {
        const double g = static_cast<double>(i) / n;
        wave[wave.size() - 1 - i] *= g;
        if (fadeIn)
            wave[i] *= g;
    }
}

int SecondsToSamples(double seconds, double rate)
{
    return std::max(2, static_cast<int>(seconds * rate));
}

// Pitched instrument: a sum of harmonics of one cycle at concert pitch, with an
// amplitude envelope and a brightness envelope that roll off the upper
// harmonics. Sustained tones freeze both envelopes and loop a span in which
// every oscillator completes whole cycles, so the loop is seamless.
void SynthesiseTone(Values& v, SynthSample& out)
{
    const int base = static_cast<int>(v.Num("base", 3, 1, 5));
    // Samples per cycle for concert pitch: the tracker plays A-2 at this rate, where the
    // instrument's octave `base` sounds at tracker octave 2.
    const double concertCycle = AmigaRate(TrackerPeriod(kTrackerA2)) / kConcertA3 * std::pow(2.0, 3 - base);
    const double rate = AmigaRate(kTrackerOctave2CPeriod);
    const std::string wave = v.Text("wave", "saw");
    const double duty = v.Num("duty", 0.25, 0.01, 0.99);
    const int harmonics = std::min(static_cast<int>(v.Num("harm", 16, 1, 64)), static_cast<int>(concertCycle / 2) - 1);
    const double attack = v.Num("attack", 0.005, 0, 2);
    const double decay = v.Num("decay", 0.3, 0.001, 10);
    const double sustain = v.Num("sustain", 0.0, 0, 1);
    const double length = v.Num("length", 1.0, 0.02, 8);
    const double tone0 = v.Num("tone0", 0.0, 0, 4);
    const double tone1 = v.Num("tone1", 0.0, 0, 4);
    const double toneTime = v.Num("tonetime", 0.2, 0.001, 10);
    const double chorus = v.Num("chorus", 0.0, 0, 1);
    const int beat = static_cast<int>(v.Num("beat", 48, 2, 400));
    const double tremolo = v.Num("tremolo", 0.0, 0, 1); // depth of an amplitude wobble, one per chorus beat span
    const double gain = v.Num("gain", 0.9, 0.05, 1);
    out.base = base;
    const bool looped = sustain > 0;
    const bool beating = chorus > 0 || tremolo > 0;
    // The loop holds whole cycles of every partial (and of the chorus voice, one more per beat
    // span) in an even number of samples, as MOD loops are counted in words; of the loops that
    // do, the one whose cycle comes closest to concert pitch wins.
    int loopLength = 0, loopCycles = 0;
    const int unit = beating ? beat : 1;
    for (int k = beating ? beat : kFewestLoopCycles; k <= (beating ? kMostBeatSpans * beat : kMostLoopCycles);
         k += unit) {
        const int length = 2 * static_cast<int>(std::lround(concertCycle * k / 2));
        if (!loopCycles || std::fabs(static_cast<double>(length) / k - concertCycle) <
                               std::fabs(static_cast<double>(loopLength) / loopCycles - concertCycle)) {
            loopLength = length;
            loopCycles = k;
        }
    }
    const double cycle = static_cast<double>(loopLength) / loopCycles;
    const double beatSpan = cycle * beat; // samples in which the chorus voice gains one cycle
    const double settle = attack + 4 * decay + 4 * toneTime;
    int freeze = SecondsToSamples(looped ? settle : length, rate);
    freeze += freeze % 2;
    const int total = looped ? freeze + loopLength : freeze;
    if (total > kMaxSampleBytes)
        throw RecipeError{"sample too long: " + std::to_string(total) + " bytes"};

    std::vector<double> amp(harmonics + 1);
    for (int h = 1; h <= harmonics; ++h)
        amp[h] = HarmonicAmplitude(wave, h, duty);
    std::vector<double> samples(total);
    for (int i = 0; i < total; ++i) {
        const double t = std::min(i, freeze) / rate;
        double env = attack > 0 && t < attack ? t / attack : 1.0;
        const double td = std::max(0.0, t - attack);
        env *= sustain + (1.0 - sustain) * std::exp(-td / decay);
        const double roll = tone1 + (tone0 - tone1) * std::exp(-t / toneTime);
        double s = 0;
        for (int h = 1; h <= harmonics; ++h) {
            if (amp[h] == 0)
                continue;
            const double a = amp[h] * std::exp(-(h - 1) * roll);
            s += a * std::sin(2 * kPi * h * i / cycle);
            if (chorus > 0)
                s += chorus * a * std::sin(2 * kPi * h * i * (beat + 1) / beatSpan + 0.7 * h);
        }
        if (tremolo > 0)
            s *= 1.0 - tremolo * 0.5 * (1 - std::cos(2 * kPi * i / beatSpan));
        samples[i] = s * env;
    }
    if (!looped)
        FadeEdges(samples, rate, false);
    out.data = Quantise(samples, gain);
    if (looped) {
        out.loopStart = freeze;
        out.loopLength = loopLength;
    }
}

// Drums are rendered at the exact rate of their default note so they sound as designed.
void SynthesiseDrum(Values& v, const std::string& kind, SynthSample& out)
{
    const int period = TrackerPeriod(TrackerNoteFor(out.defaultNote, out.base));
    if (period == 0)
        throw RecipeError{"default note outside the tracker's range"};
    const double rate = AmigaRate(period);
    Noise noise{SeedFor(v.recipe, v.Num("seed", 1, 0, 1e9))};
    const double gain = v.Num("gain", 0.95, 0.05, 1);
    std::vector<double> s;
    auto render = [&](double seconds, const std::function<double(double)>& f) {
        s.resize(SecondsToSamples(seconds, rate));
        for (size_t i = 0; i < s.size(); ++i)
            s[i] = f(i / rate);
    };
    auto highpassCoef = [&](double hz) { return std::exp(-2 * kPi * hz / rate); };
    auto lowpassCoef = [&](double hz) { return 1 - std::exp(-2 * kPi * hz / rate); };

    if (kind == "kick" || kind == "tom") {
        const bool kick = kind == "kick";
        const double f0 = v.Num("start", kick ? 150 : 240, 20, 2000);
        const double f1 = v.Num("end", kick ? 46 : 150, 20, 2000);
        const double sweep = v.Num("sweep", kick ? 0.035 : 0.06, 0.001, 1);
        const double decay = v.Num("decay", kick ? 0.16 : 0.2, 0.01, 2);
        const double click = v.Num("click", kick ? 0.35 : 0.1, 0, 1);
        const double drive = v.Num("drive", kick ? 1.8 : 1.0, 0.1, 10);
        const double length = v.Num("length", kick ? 0.4 : 0.5, 0.05, 2);
        double phase = 0;
        render(length, [&](double t) {
            const double f = f1 + (f0 - f1) * std::exp(-t / sweep);
            phase += 2 * kPi * f / rate;
            double y = std::sin(phase) * std::exp(-t / decay);
            y += click * noise.Next() * std::exp(-t / 0.004);
            return std::tanh(drive * y) / std::tanh(drive);
        });
    } else if (kind == "snare" || kind == "clap") {
        const bool snare = kind == "snare";
        const double tone = v.Num("tone", 190, 50, 1000);
        const double toneMix = v.Num("tonemix", snare ? 0.5 : 0.0, 0, 1);
        const double toneDecay = v.Num("tonedecay", 0.05, 0.005, 1);
        const double noiseDecay = v.Num("decay", snare ? 0.12 : 0.1, 0.005, 2);
        const double bright = v.Num("bright", snare ? 1200 : 900, 50, 8000); // high-pass corner
        const double soft = v.Num("soft", snare ? 7000 : 3500, 200, 11000);  // low-pass corner
        const double length = v.Num("length", 0.35, 0.05, 2);
        const double hp = highpassCoef(bright), lp = lowpassCoef(soft);
        double prevX = 0, hpY = 0, lpY = 0, phase = 0;
        render(length, [&](double t) {
            const double x = noise.Next();
            hpY = hp * (hpY + x - prevX);
            prevX = x;
            lpY += (hpY - lpY) * lp;
            double env = std::exp(-t / noiseDecay);
            if (!snare) { // three quick hand claps before the tail
                const double burst = std::fmod(t, 0.011);
                env = t < 0.033 ? std::exp(-burst / 0.004) : std::exp(-(t - 0.033) / noiseDecay);
            }
            phase += 2 * kPi * tone * (1 + 0.4 * std::exp(-t / 0.01)) / rate;
            return lpY * 2.2 * env + toneMix * std::sin(phase) * std::exp(-t / toneDecay);
        });
    } else if (kind == "hat" || kind == "cymbal" || kind == "shaker") {
        // Six detuned square oscillators (a metallic cluster) plus noise, high-passed.
        const double pitch = v.Num("pitch", 1.0, 0.25, 4);
        const double metal = v.Num("metal", kind == "shaker" ? 0.0 : 0.6, 0, 1);
        const double decay = v.Num("decay", kind == "cymbal" ? 0.6 : kind == "shaker" ? 0.05 : 0.045, 0.005, 4);
        const double attack = v.Num("attack", kind == "shaker" ? 0.012 : 0.0005, 0.0001, 0.5);
        const double bright = v.Num("bright", kind == "shaker" ? 4000 : 6000, 100, 10000);
        const double length = v.Num("length", kind == "cymbal" ? 1.6 : kind == "shaker" ? 0.15 : 0.25, 0.02, 3);
        static const double kRatios[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
        double phases[6] = {0, 0, 0, 0, 0, 0};
        const double hp = highpassCoef(bright);
        double prevX = 0, hpY = 0;
        render(length, [&](double t) {
            double m = 0;
            for (int k = 0; k < 6; ++k) {
                phases[k] += kRatios[k] * 1.6 * pitch / rate;
                m += std::fmod(phases[k], 1.0) < 0.5 ? 1.0 : -1.0;
            }
            const double x = metal * m / 6 + (1 - metal) * noise.Next();
            hpY = hp * (hpY + x - prevX);
            prevX = x;
            const double env = std::min(1.0, t / attack) * std::exp(-std::max(0.0, t - attack) / decay);
            return hpY * env;
        });
    } else {
        throw RecipeError{"unknown instrument kind " + kind};
    }
    FadeEdges(s, rate, false);
    out.data = Quantise(s, gain);
}

} // namespace

int TrackerPeriod(int trackerNote)
{
    // ProTracker periods, finetune 0, tracker octaves 0..4 (C-0 .. B-4).
    static const int kPeriods[kTrackerNoteCount] = {
        1712, 1616, 1525, 1440, 1357, 1281, 1209, 1141, 1077, 1017, 961, 907, 856, 808, 762, 720, 678, 640, 604, 570,
        538,  508,  480,  453,  428,  404,  381,  360,  339,  320,  302, 285, 269, 254, 240, 226, 214, 202, 190, 180,
        170,  160,  151,  143,  135,  127,  120,  113,  107,  101,  95,  90,  85,  80,  76,  71,  67,  64,  60,  57,
    };
    if (trackerNote < kFirstPlayableTrackerNote || trackerNote > kLastPlayableTrackerNote)
        return 0;
    return kPeriods[trackerNote];
}

int TrackerNoteFor(int pitch, int base)
{
    return pitch - kSemitonesPerOctave * (base - 2);
}

double AmigaRate(int period)
{
    return kAmigaPalClock / (2.0 * period);
}

bool SynthesiseInstrument(const InstrumentRecipe& recipe, SynthSample& out, std::string& error)
{
    try {
        Values v{recipe, {}};
        out = SynthSample{};
        out.volume = static_cast<int>(v.Num("vol", 48, 0, 64));
        // Held-note vibrato is written into the pattern, not the sample.
        const std::string vib = v.Text("vib", "00");
        char* end = nullptr;
        out.vibrato = static_cast<int>(std::strtol(vib.c_str(), &end, 16));
        if (vib.size() != 2 || *end != '\0')
            throw RecipeError{"vib needs two hex digits (speed, depth): " + vib};
        out.vibratoDelay = static_cast<int>(v.Num("vibdelay", 2, 1, 63));
        const std::string noteText = v.Text("note", "C4");
        static const int kLetterSemitone[7] = {9, 11, 0, 2, 4, 5, 7};
        if (noteText.size() < 2 || noteText[0] < 'A' || noteText[0] > 'G')
            throw RecipeError{"bad note " + noteText};
        int semi = kLetterSemitone[noteText[0] - 'A'];
        size_t i = 1;
        if (noteText[i] == '#')
            ++semi, ++i;
        else if (noteText[i] == 'b')
            --semi, ++i;
        if (i + 1 != noteText.size() || noteText[i] < '0' || noteText[i] > '9')
            throw RecipeError{"bad note " + noteText};
        out.defaultNote = (noteText[i] - '0') * kSemitonesPerOctave + semi;
        if (recipe.kind == "tone")
            SynthesiseTone(v, out);
        else
            SynthesiseDrum(v, recipe.kind, out);
        v.CheckAllUsed();
        return true;
    } catch (const RecipeError& e) {
        error = "instrument " + recipe.name + " (line " + std::to_string(recipe.line) + "): " + e.text;
        return false;
    }
}
