// sfxsynth: turns one sound-effect recipe into a 22050 Hz 16-bit mono WAV.
//   sfxsynth RECIPE.sfx OUTPUT.wav [--stats]
// --stats prints length, peak and RMS so an effect can be checked without listening.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "file_io.h"
#include "sfx_recipe.h"
#include "sfx_render.h"
#include "wav_file.h"

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: sfxsynth RECIPE.sfx OUTPUT.wav [--stats]\n");
        return 2;
    }
    std::string text, error;
    if (!ReadToolInput(argv[1], text, error)) {
        std::fprintf(stderr, "sfxsynth: cannot read %s: %s\n", argv[1], error.c_str());
        return 1;
    }

    SfxRecipe recipe;
    if (!ParseRecipe(text, recipe, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const std::vector<int16_t> samples = RenderRecipe(recipe);
    if (!WriteWav(argv[2], samples, 1, kSfxRate)) {
        std::fprintf(stderr, "sfxsynth: cannot write %s\n", argv[2]);
        return 1;
    }
    if (argc > 3 && std::strcmp(argv[3], "--stats") == 0) {
        double sum = 0.0;
        int peak = 0;
        for (int16_t s : samples) {
            sum += static_cast<double>(s) * s;
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        const double rms = samples.empty() ? 0.0 : std::sqrt(sum / samples.size());
        std::printf("%s: %.3f s, peak %d, rms %.0f, first %d, last %d\n", argv[2],
                    static_cast<double>(samples.size()) / kSfxRate, peak, rms, samples.front(), samples.back());
    }
    return 0;
}
