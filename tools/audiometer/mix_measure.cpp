// Rendering through the game's own hook, level envelopes and seam matching, per-part solo renders.
#include "mix_measure.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

#include "audio/music.h"
#include "audio/music_hook.h"
#include "core/settings.h"
#include "loudness.h"
#include "mod_layout.h"
#include "spectrum_bands.h"

namespace {

constexpr int kHookFrames = 1024; // the mixer's buffer
constexpr int kFullVolume = 128;
constexpr double kMomentarySeconds = 0.1;
constexpr double kLevelWindowSeconds = 0.010;
constexpr double kLevelHopSeconds = 0.0025;
constexpr double kDropoutDb = 10.0;
constexpr double kSeamLookSeconds = 0.5; // how far either side of the restart a dropout is looked for
constexpr long kMatchFrames = 2048;      // frames of the tune's start matched against the second pass
constexpr int kFullScaleSample = 32767;
constexpr double kMatchEarlySeconds = 0.05, kMatchLateSeconds = 0.35;

double LufsOf(const std::vector<int16_t>& stereo)
{
    return IntegratedLoudness(KWeightedPower(ToFloat(stereo), kGameChannels, kGameRate), kGameRate);
}

// Level in dB of full scale of 10 ms windows every 2.5 ms over frames [from, to).
std::vector<double> LevelEnvelope(const std::vector<int16_t>& stereo, long from, long to)
{
    const long window = static_cast<long>(kLevelWindowSeconds * kGameRate);
    const long hop = static_cast<long>(kLevelHopSeconds * kGameRate);
    std::vector<double> levels;
    for (long start = std::max(0L, from); start + window <= to; start += hop) {
        double sum = 0;
        for (long i = start * kGameChannels; i < (start + window) * kGameChannels; ++i)
            sum += static_cast<double>(stereo[i]) * stereo[i];
        levels.push_back(10.0 * std::log10(sum / (window * kGameChannels) / (32768.0 * 32768.0) + 1e-12));
    }
    return levels;
}

} // namespace

ChannelRoles ChannelRolesOf(const std::string& tuneSource)
{
    ChannelRoles roles;
    std::istringstream lines(tuneSource);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word;
        if (!(words >> word) || word != "channels")
            continue;
        for (unsigned bit = 1; words >> word && word[0] != '#'; bit <<= 1) {
            const std::string name = word.substr(0, word.find('='));
            if (name.rfind("lead", 0) == 0)
                roles.lead |= bit;
            else if (name.rfind("bass", 0) == 0)
                roles.bass |= bit;
            else if (name.rfind("hat", 0) == 0)
                roles.hats |= bit;
        }
    }
    return roles;
}

std::vector<int16_t> RenderThroughHook(const std::vector<uint8_t>& mod, long frames)
{
    settings = Settings{};
    SetMusicOutputFormat(kGameRate, kGameChannels);
    ApplyMusicSettings();
    MusicModule* module = LoadMusicFromMemory(mod.data(), mod.size());
    if (!module)
        return {};
    musicFadeStep = 0;
    SetMusicVolume(kFullVolume);
    PlayMusic(module, -1);
    const long calls = (frames + kHookFrames - 1) / kHookFrames;
    std::vector<int16_t> out(static_cast<size_t>(calls) * kHookFrames * kGameChannels);
    for (long c = 0; c < calls && MusicPlaying(); ++c)
        MusicHook(module, reinterpret_cast<uint8_t*>(&out[c * kHookFrames * kGameChannels]),
                  kHookFrames * kGameChannels * static_cast<int>(sizeof(int16_t)));
    FreeMusic(module);
    out.resize(static_cast<size_t>(frames) * kGameChannels);
    return out;
}

SeamMeasure MeasureSeam(const std::vector<int16_t>& stereo, long passFrames)
{
    SeamMeasure seam;
    const long total = static_cast<long>(stereo.size()) / kGameChannels;
    // The restart is where the second pass repeats the first pass's opening frames most closely.
    long best = passFrames;
    double bestError = std::numeric_limits<double>::max();
    const long first = passFrames - static_cast<long>(kMatchEarlySeconds * kGameRate);
    const long last = std::min(total - kMatchFrames, passFrames + static_cast<long>(kMatchLateSeconds * kGameRate));
    for (long at = first; at <= last; ++at) {
        double error = 0;
        for (long i = 0; i < kMatchFrames * kGameChannels && error < bestError; ++i) {
            const double d = static_cast<double>(stereo[at * kGameChannels + i]) - stereo[i];
            error += d * d;
        }
        if (error < bestError) {
            bestError = error;
            best = at;
        }
    }
    seam.shiftMs = 1000.0 * (best - passFrames) / kGameRate;

    std::vector<double> pass = LevelEnvelope(stereo, 0, passFrames);
    std::nth_element(pass.begin(), pass.begin() + pass.size() / 2, pass.end());
    const double floor = pass[pass.size() / 2] - kDropoutDb;
    const long look = static_cast<long>(kSeamLookSeconds * kGameRate);
    int run = 0, longest = 0;
    for (double level : LevelEnvelope(stereo, best - look, std::min(total, best + look))) {
        run = level < floor ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    seam.dropoutMs = longest * kLevelHopSeconds * 1000.0;
    return seam;
}

TuneMeasure MeasureTune(const std::vector<uint8_t>& mod, const ChannelRoles& roles, bool looping)
{
    TuneMeasure m;
    const std::vector<long> orderFrames = ModOrderFrames(mod, kGameRate);
    const long pass = orderFrames.empty() ? 0 : orderFrames.back();
    m.seconds = static_cast<double>(pass) / kGameRate;
    const long seamExtra = static_cast<long>((kSeamLookSeconds + kMatchLateSeconds) * kGameRate) + kMatchFrames;
    const std::vector<int16_t> mix = RenderThroughHook(mod, looping ? pass + seamExtra : pass);
    const std::vector<int16_t> firstPass(mix.begin(), mix.begin() + std::min<long>(mix.size(), pass * kGameChannels));
    const std::vector<float> samples = ToFloat(firstPass);
    const std::vector<double> power = KWeightedPower(samples, kGameChannels, kGameRate);
    m.integrated = IntegratedLoudness(power, kGameRate);
    m.loudest = LoudestWindowLoudness(power, kGameRate, kMomentarySeconds);
    m.bands = BandEnergyShares(samples, kGameChannels, kGameRate, kMixBandEdges);
    for (size_t i = 0; i + 1 < orderFrames.size(); ++i) {
        const long from = std::min<long>(orderFrames[i], power.size()),
                   to = std::min<long>(orderFrames[i + 1], power.size());
        m.sections.push_back(
            IntegratedLoudness(std::vector<double>(power.begin() + from, power.begin() + to), kGameRate));
    }
    int peak = 0;
    for (int16_t v : firstPass) {
        peak = std::max(peak, std::abs(static_cast<int>(v)));
        m.clipped += std::abs(static_cast<int>(v)) >= kFullScaleSample;
    }
    m.peakDb = 20.0 * std::log10(std::max(peak, 1) / 32768.0);
    if (looping)
        m.seam = MeasureSeam(mix, pass);
    auto solo = [&](unsigned mask) {
        return mask ? LufsOf(RenderThroughHook(SoloChannels(mod, mask), pass)) : kSilentLufs;
    };
    m.lead = solo(roles.lead);
    m.bass = solo(roles.bass);
    m.hats = solo(roles.hats);
    return m;
}

EffectMeasure MeasureEffect(const WavAudio& wav, double channelGain)
{
    EffectMeasure m;
    std::vector<float> stereo;
    int peak = 0;
    for (size_t i = 0; i < wav.samples.size(); i += wav.channels) {
        int mono = 0;
        for (int c = 0; c < wav.channels; ++c) {
            mono += wav.samples[i + c];
            peak = std::max(peak, std::abs(static_cast<int>(wav.samples[i + c])));
        }
        const float v = static_cast<float>(mono / wav.channels * channelGain / 32768.0);
        stereo.push_back(v);
        stereo.push_back(v);
    }
    m.peakDb = 20.0 * std::log10(std::max(peak, 1) / 32768.0);
    m.loudest = LoudestWindowLoudness(KWeightedPower(stereo, kGameChannels, wav.rate), wav.rate, kMomentarySeconds);
    m.bands = BandEnergyShares(stereo, kGameChannels, wav.rate, kMixBandEdges);
    return m;
}
