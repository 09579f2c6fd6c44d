// modrender: plays a module through libmodplug as the game does and writes a WAV, with level statistics.
//   modrender [--zda ARCHIVE.zda] MODULE OUT.wav [SECONDS]
// MODULE is a file path, or with --zda an entry name without ".mod". SECONDS
// limits the WAV (default: the whole module, at most ten minutes); the
// statistics always cover the whole module.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <libmodplug/modplug.h>

#include "assets/archive.h"
#include "wav_file.h"

namespace {

constexpr int kRate = 22050; // the game's mixer rate
constexpr int kChannels = 2;
constexpr int kBits = 16;
constexpr int kBlockFrames = 1024;     // the mixer's buffer size
constexpr int kGameMasterVolume = 128; // the full music volume the game sets
constexpr int kModPlugFlags = MODPLUG_ENABLE_OVERSAMPLING | MODPLUG_ENABLE_NOISE_REDUCTION; // the game's defaults
constexpr int kMaxSeconds = 600;
constexpr int kSilenceLevel = 64; // peak below this in a block counts as silence (about -54 dBFS)
constexpr int kClipLevel = 32767;

} // namespace

int main(int argc, char** argv)
{
    int arg = 1;
    const char* zda = nullptr;
    if (arg + 1 < argc && std::strcmp(argv[arg], "--zda") == 0) {
        zda = argv[arg + 1];
        arg += 2;
    }
    if (argc - arg < 2 || argc - arg > 3) {
        std::fprintf(stderr, "usage: modrender [--zda ARCHIVE.zda] MODULE OUT.wav [SECONDS]\n");
        return 2;
    }
    const char* module = argv[arg];
    const char* wavPath = argv[arg + 1];
    const double wavSeconds = argc - arg == 3 ? std::atof(argv[arg + 2]) : kMaxSeconds;

    size_t size = 0;
    uint8_t* data = nullptr;
    if (zda) {
        OpenArchiveFile(ArchiveMusic, zda);
        data = ReadArchiveEntry(ArchiveMusic, module, "mod", &size);
    } else {
        data = ReadWholeFile(module, &size);
    }
    if (!data) {
        std::fprintf(stderr, "modrender: cannot read %s\n", module);
        return 1;
    }

    ModPlug_Settings settings;
    ModPlug_GetSettings(&settings);
    settings.mFlags = kModPlugFlags;
    settings.mResamplingMode = MODPLUG_RESAMPLE_LINEAR;
    settings.mFrequency = kRate;
    settings.mBits = kBits;
    settings.mChannels = kChannels;
    settings.mLoopCount = 0;
    ModPlug_SetSettings(&settings);
    ModPlugFile* file = ModPlug_Load(data, static_cast<int>(size));
    std::free(data);
    if (!file) {
        std::fprintf(stderr, "modrender: libmodplug cannot load %s\n", module);
        return 1;
    }
    ModPlug_SetMasterVolume(file, kGameMasterVolume);

    std::vector<int16_t> pcm;
    std::vector<int16_t> block(kBlockFrames * kChannels);
    const size_t wavSamples = static_cast<size_t>(wavSeconds * kRate) * kChannels;
    long frames = 0;
    long clipped = 0;
    int peak = 0;
    double sumSquares = 0;
    long silentFrames = 0, silentRun = 0, longestSilentRun = 0;
    bool ended = false;
    while (frames < static_cast<long>(kMaxSeconds) * kRate) {
        const int asked = static_cast<int>(block.size() * sizeof(int16_t));
        const int got = ModPlug_Read(file, block.data(), asked);
        const int gotFrames = got / (kChannels * static_cast<int>(sizeof(int16_t)));
        int blockPeak = 0;
        for (int i = 0; i < gotFrames * kChannels; ++i) {
            const int v = std::abs(static_cast<int>(block[i]));
            blockPeak = std::max(blockPeak, v);
            clipped += v >= kClipLevel;
            sumSquares += static_cast<double>(block[i]) * block[i];
            if (pcm.size() < wavSamples)
                pcm.push_back(block[i]);
        }
        peak = std::max(peak, blockPeak);
        if (blockPeak < kSilenceLevel) {
            silentFrames += gotFrames;
            silentRun += gotFrames;
            longestSilentRun = std::max(longestSilentRun, silentRun);
        } else {
            silentRun = 0;
        }
        frames += gotFrames;
        if (got < asked) {
            ended = true;
            break;
        }
    }
    const double rms = frames ? std::sqrt(sumSquares / (frames * kChannels)) : 0;
    std::printf("%s: length %.2f s%s, peak %d (%.0f%%), rms %.0f, clipped samples %ld, silent %.2f s, "
                "longest silence %.2f s, library length %.2f s\n",
                module, static_cast<double>(frames) / kRate, ended ? "" : " (did not end)", peak,
                peak * 100.0 / kClipLevel, rms, clipped, static_cast<double>(silentFrames) / kRate,
                static_cast<double>(longestSilentRun) / kRate, ModPlug_GetLength(file) / 1000.0);
    ModPlug_Unload(file);
    if (!WriteWav(wavPath, pcm, kChannels, kRate)) {
        std::fprintf(stderr, "modrender: cannot write %s\n", wavPath);
        return 1;
    }
    return 0;
}
