// modc: compiles a tracker-style tune text into a ProTracker MOD with synthesised samples.
//   modc SOURCE.tune OUTPUT.mod
#include <cstdio>
#include <fstream>
#include <sstream>

#include "mod_writer.h"
#include "sample_synth.h"
#include "tune_source.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: modc SOURCE.tune OUTPUT.mod\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "modc: cannot read %s\n", argv[1]);
        return 1;
    }
    std::stringstream text;
    text << in.rdbuf();

    TuneSource tune;
    std::string error;
    if (!ParseTuneSource(text.str(), tune, error)) {
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
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "modc: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
