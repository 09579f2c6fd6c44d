// modc: compiles a tracker-style tune text into a ProTracker MOD with synthesised samples.
//   modc SOURCE.tune OUTPUT.mod
#include <cstdio>

#include "file_io.h"
#include "mod_writer.h"
#include "sample_synth.h"
#include "tune_source.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: modc SOURCE.tune OUTPUT.mod\n");
        return 2;
    }
    std::string text, error;
    if (!ReadToolInput(argv[1], text, error)) {
        std::fprintf(stderr, "modc: cannot read %s: %s\n", argv[1], error.c_str());
        return 1;
    }

    TuneSource tune;
    if (!ParseTuneSource(text, tune, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    std::vector<SynthSample> samples(tune.instruments.size());
    for (size_t i = 0; i < tune.instruments.size(); ++i) {
        if (!SynthesiseInstrument(tune.instruments[i], samples[i], error)) {
            std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
            return 1;
        }
    }
    std::vector<uint8_t> bytes;
    if (!WriteModule(tune, samples, bytes, error)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    if (!WriteToolOutput(argv[2], bytes)) {
        std::fprintf(stderr, "modc: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
