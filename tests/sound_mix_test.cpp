// What a player hears, measured from the built archives: the loudness meter against its reference,
// every tune through the game's music hook and every effect at the default effect volume against the
// loudness, balance and loop-seam targets, and the module compiler's tuning against concert pitch.
#include <gtest/gtest.h>

#include <libmodplug/modplug.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "loudness.h"
#include "mix_measure.h"
#include "spectrum_bands.h"
#include "test_support.h"

namespace {

constexpr double kDefaultEffectGain = 19.0 / 128.0; // the mixer's channel volume at the default 15 %
constexpr double kMinHighShare = 0.015;             // energy above 4 kHz in a tune
constexpr double kMinEffectMidShare = 0.25;         // energy between 500 Hz and 4 kHz in an effect
constexpr double kHatsBelowMixLu = 12.0;
constexpr double kMaxSeamShiftMs = 5.0;
constexpr double kMaxSeamDropoutMs = 10.0;
constexpr double kMaxEffectPeakDb = -0.3;
constexpr double kMaxDetuneCents = 5.0;

std::vector<float> Sine(double hz, double amplitude, double seconds, int channels)
{
    std::vector<float> s(static_cast<size_t>(seconds * kGameRate) * channels);
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = static_cast<float>(amplitude * std::sin(2 * std::numbers::pi * hz * (i / channels) / kGameRate));
    return s;
}

TEST(LoudnessMeter, ReadsTheReferenceSineAndGatesSilence)
{
    auto lufs = [](const std::vector<float>& s, int channels) {
        return IntegratedLoudness(KWeightedPower(s, channels, kGameRate), kGameRate);
    };
    EXPECT_NEAR(lufs(Sine(997, 1.0, 5, 1), 1), -3.01, 0.05) << "full-scale 997 Hz in one channel";
    EXPECT_NEAR(lufs(Sine(997, 1.0, 5, 2), 2), 0.0, 0.05) << "the same in both channels";
    EXPECT_NEAR(lufs(Sine(997, 0.1, 5, 1), 1), -23.01, 0.05);
    // K-weighting: lows count less, highs more than 1 kHz.
    EXPECT_LT(lufs(Sine(40, 1.0, 5, 1), 1), -3.01 - 2.0);
    EXPECT_GT(lufs(Sine(5000, 1.0, 5, 1), 1), -3.01 + 3.0);

    // Two seconds of tone then eight of silence: the gates keep the silence out of the integrated
    // value (only the blocks straddling the tone's end pull it down a little); the loudest 100 ms
    // is the tone wherever it sits.
    std::vector<float> burst = Sine(997, 0.1, 2, 1);
    burst.resize(static_cast<size_t>(10 * kGameRate), 0.0001f);
    const std::vector<double> power = KWeightedPower(burst, 1, kGameRate);
    EXPECT_NEAR(IntegratedLoudness(power, kGameRate), -23.01, 0.4);
    EXPECT_NEAR(LoudestWindowLoudness(power, kGameRate, 0.1), -23.01, 0.1);
    EXPECT_EQ(IntegratedLoudness(std::vector<double>(kGameRate, 0.0), kGameRate), kSilentLufs);

    const std::vector<double> bands = BandEnergyShares(Sine(6000, 0.5, 1, 1), 1, kGameRate, kMixBandEdges);
    EXPECT_GT(bands[BandHigh], 0.99);
}

std::vector<uint8_t> ArchiveEntry(ArchiveId archive, const char* file, const char* name, const char* extension)
{
    OpenArchiveFile(archive, file);
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(archive, name, extension, &size);
    std::vector<uint8_t> bytes(data, data + (data ? size : 0));
    std::free(data);
    return bytes;
}

struct TuneTarget {
    const char* name;
    double lufs;       // integrated, as the game renders it at full music volume
    bool looping;      // plays for ever behind a stage or the title
    double minSeconds; // one pass
    double maxSeconds;
};

// Stage and title tunes sit at -23 LUFS and play a minute or more before they repeat; the
// fanfare ends inside the 6 s bonus count and the jingle within its scene, both a little louder.
const TuneTarget kTunes[] = {
    {"0.fribb3-title", -23, true, 60, 300},  {"1.labyrinth", -23, true, 60, 300},
    {"2.anctemple", -23, true, 60, 300},     {"3.happytimes", -23, true, 60, 300},
    {"4.almostthere", -23, true, 60, 300},   {"5.risingsun", -23, true, 60, 300},
    {"6.deepwildness", -23, true, 60, 300},  {"7.thechallenge", -23, true, 60, 300},
    {"8.twinrainbow", -23, true, 60, 300},   {"9.yist", -23, true, 60, 300},
    {"10.tastyflowers", -23, true, 60, 300}, {"x.levelcomplete", -21, false, 2, 5.5},
    {"y.jingle", -21, false, 2, 4},
};

class TuneMix : public testing::TestWithParam<TuneTarget> {};

TEST_P(TuneMix, LoudnessBalanceAndSeamAsThePlayerHearsIt)
{
    const TuneTarget& t = GetParam();
    const std::vector<uint8_t> mod = ArchiveEntry(ArchiveMusic, FRIBB3_BINARY_DIR "/data/music.zda", t.name, "mod");
    std::ifstream in(std::string(FRIBB3_SOURCE_DIR "/content/music/") + t.name + ".tune", std::ios::binary);
    const ChannelRoles roles = ChannelRolesOf(std::string((std::istreambuf_iterator<char>(in)), {}));
    ASSERT_FALSE(mod.empty());
    const TuneMeasure m = MeasureTune(mod, roles, t.looping);

    EXPECT_GE(m.seconds, t.minSeconds);
    EXPECT_LE(m.seconds, t.maxSeconds);
    EXPECT_NEAR(m.integrated, t.lufs, 1.0);
    EXPECT_EQ(m.clipped, 0);
    EXPECT_GE(m.bands[BandHigh], kMinHighShare) << "dull: too little above 4 kHz";
    if (roles.lead && roles.bass) {
        EXPECT_GE(m.lead, m.bass) << "the lead, alone, must be at least as loud as the bass alone";
    }
    // The tunes a player hears for minutes: audible hats and a seamless loop.
    if (t.looping) {
        ASSERT_TRUE(roles.lead && roles.bass && roles.hats) << "channels named lead.., bass.. and hat..";
        EXPECT_GE(m.hats, m.integrated - kHatsBelowMixLu) << "hats lost under the mix";
        EXPECT_LE(std::fabs(m.seam.shiftMs), kMaxSeamShiftMs) << "the beat slips where the tune starts again";
        EXPECT_LE(m.seam.dropoutMs, kMaxSeamDropoutMs) << "the level drops where the tune starts again";
    }
}

INSTANTIATE_TEST_SUITE_P(MusicArchive, TuneMix, testing::ValuesIn(kTunes),
                         [](const testing::TestParamInfo<TuneTarget>& info) {
                             std::string n = info.param.name;
                             std::replace_if(
                                 n.begin(), n.end(),
                                 [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return n;
                         });

// Effects at the default effect volume stand 2 to 4 LU above the music, and every one of them,
// the low knocks too, has enough midrange to cut through a bass line.
TEST(EffectMix, EveryEffectCutsThroughTheMusicAtTheDefaultVolume)
{
    for (const char* name : {"klonk", "krack", "aj", "blubb", "jipie", "chew", "knirk", "tada", "trdoor", "boink",
                             "bat", "klack", "splash"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> bytes = ArchiveEntry(ArchiveSound, FRIBB3_BINARY_DIR "/data/sound.zda", name, "wav");
        WavAudio wav;
        ASSERT_TRUE(DecodeWav(bytes.data(), bytes.size(), wav));
        EXPECT_EQ(wav.rate, kGameRate);
        const EffectMeasure m = MeasureEffect(wav, kDefaultEffectGain);
        EXPECT_GE(m.loudest, -22.0);
        EXPECT_LE(m.loudest, -20.0);
        EXPECT_LE(m.peakDb, kMaxEffectPeakDb);
        EXPECT_GE(m.bands[BandMid], kMinEffectMidShare) << "too little between 500 Hz and 4 kHz";
    }
}

// A sine instrument held on A in every octave the compiler offers sounds at concert pitch (A4 = 440 Hz).
TEST(ModuleCompilerTuning, HeldNotesSoundAtConcertPitch)
{
    struct Probe {
        int base;
        const char* note;
        double hz;
    };
    const Probe probes[] = {{1, "A1", 55},  {2, "A2", 110}, {3, "A3", 220}, {3, "A4", 440},
                            {4, "A4", 440}, {4, "A5", 880}, {5, "A5", 880}};
    testsupport::ScratchDir dir;
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.note + std::string(" base ") + std::to_string(p.base));
        const std::string src = (dir.path() / "probe.tune").string(), out = (dir.path() / "probe.mod").string();
        std::ofstream(src) << "channels a\nspeed 6\ntempo 125\n"
                           << "instrument s tone wave=sine sustain=1 decay=0.01 base=" << p.base << "\n"
                           << "pattern p\n  a: " << p.note << "@s*64\norder p\n";
        ASSERT_EQ(
            testsupport::RunCommand(std::string(FRIBB3_BINARY_DIR "/tools/modc/modc ") + src + " " + out).exitCode, 0);
        const std::vector<int16_t> stereo = RenderThroughHook(testsupport::ReadBytes(out), 4 * kGameRate);
        std::vector<float> left;
        for (size_t i = kGameRate * kGameChannels; i < stereo.size(); i += kGameChannels) // past the attack
            left.push_back(stereo[i] / 32768.0f);
        const double cents = 1200.0 * std::log2(StrongestFrequency(left, kGameRate) / p.hz);
        EXPECT_LE(std::fabs(cents), kMaxDetuneCents) << cents << " cents off";
    }
}

} // namespace
