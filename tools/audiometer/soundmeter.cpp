// soundmeter: prints how loud every tune and effect is as the game plays them, how their energy
// divides over the spectrum, how loud each tune's parts are alone and how its loop seam behaves.
//   soundmeter MUSIC.zda TUNE_SOURCE_DIR SOUND.zda
//   soundmeter --wav FILE.wav       (loudness of any 16-bit WAV as it is)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "audio/music.h"
#include "file_io.h"
#include "loudness.h"
#include "mix_measure.h"

namespace {

// The effect volume the game starts with: 15 % of 128, as the mixer's channel volume.
constexpr double kDefaultEffectGain = 19.0 / 128.0;
constexpr int kPercent = 100;
const char* const kEffects[] = {"klonk", "krack",  "aj",    "blubb", "jipie", "chew",  "knirk",
                                "tada",  "trdoor", "boink", "bat",   "klack", "splash"};

std::vector<uint8_t> Entry(ArchiveId archive, const char* name, const char* extension)
{
    size_t size = 0;
    uint8_t* data = ReadArchiveEntry(archive, name, extension, &size);
    std::vector<uint8_t> bytes(data, data + (data ? size : 0));
    std::free(data);
    return bytes;
}

void PrintBands(const std::vector<double>& b)
{
    std::printf(" %5.1f %5.1f %5.1f %5.2f", b[BandLow] * kPercent, b[BandLowMid] * kPercent, b[BandMid] * kPercent,
                b[BandHigh] * kPercent);
}

int MeasureWavFile(const char* path)
{
    std::string text, why;
    if (!ReadToolInput(path, text, why)) {
        std::fprintf(stderr, "soundmeter: cannot read %s: %s\n", path, why.c_str());
        return 1;
    }
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    WavAudio wav;
    if (!DecodeWav(bytes.data(), bytes.size(), wav)) {
        std::fprintf(stderr, "soundmeter: %s is not a 16-bit PCM WAV\n", path);
        return 1;
    }
    const std::vector<double> power = KWeightedPower(ToFloat(wav.samples), wav.channels, wav.rate);
    std::printf("%s: integrated %.2f LUFS, loudest 100 ms %.2f LUFS\n", path, IntegratedLoudness(power, wav.rate),
                LoudestWindowLoudness(power, wav.rate, 0.1));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--wav") == 0)
        return MeasureWavFile(argv[2]);
    if (argc != 4) {
        std::fprintf(stderr, "usage: soundmeter MUSIC.zda TUNE_SOURCE_DIR SOUND.zda | soundmeter --wav FILE.wav\n");
        return 2;
    }
    OpenArchiveFile(ArchiveMusic, argv[1]);
    OpenArchiveFile(ArchiveSound, argv[3]);
    int missing = 0;
    std::printf("%-16s %6s %6s %6s | %5s %5s %5s %5s | %6s %6s %6s | %6s %6s\n", "tune", "sec", "LUFS", "max", "<250",
                "<500", "<4k", ">4k", "lead-b", "hats", "", "shift", "drop");
    for (int id = 0; id < kMusicCount; ++id) {
        const std::vector<uint8_t> mod = Entry(ArchiveMusic, kMusicNames[id], "mod");
        std::string text, why;
        const std::string source = std::string(argv[2]) + "/" + kMusicNames[id] + ".tune";
        if (mod.empty() || !ReadToolInput(source, text, why)) {
            std::printf("%-16s missing from %s or %s\n", kMusicNames[id], argv[1], source.c_str());
            ++missing;
            continue;
        }
        const bool looping = id < MusicLevelComplete;
        const TuneMeasure m = MeasureTune(mod, ChannelRolesOf(text), looping);
        std::printf("%-16s %6.1f %6.2f %6.2f |", kMusicNames[id], m.seconds, m.integrated, m.loudest);
        PrintBands(m.bands);
        std::printf(" | %6.2f %6.2f %6s | %6.1f %6.1f\n", m.lead - m.bass, m.hats - m.integrated, "", m.seam.shiftMs,
                    m.seam.dropoutMs);
        std::printf("%-16s", "  by pattern");
        for (double s : m.sections)
            std::printf(" %5.1f", s);
        std::printf("\n");
    }
    std::printf("\n%-16s %6s %6s | %5s %5s %5s %5s\n", "effect", "max", "peak", "<250", "<500", "<4k", ">4k");
    for (const char* name : kEffects) {
        const std::vector<uint8_t> bytes = Entry(ArchiveSound, name, "wav");
        WavAudio wav;
        if (!DecodeWav(bytes.data(), bytes.size(), wav)) {
            std::printf("%-16s missing from %s\n", name, argv[3]);
            ++missing;
            continue;
        }
        const EffectMeasure m = MeasureEffect(wav, kDefaultEffectGain);
        std::printf("%-16s %6.2f %6.2f |", name, m.loudest, m.peakDb);
        PrintBands(m.bands);
        std::printf("\n");
    }
    return missing == 0 ? 0 : 1;
}
