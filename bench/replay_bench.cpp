// Headless replay speed: whole frames of the real session (world update, drawing, frame pacing on
// the virtual clock) played from a script on stage 1, in frames per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "tools/replay/replay_options.h"
#include "tools/replay/replay_run.h"
#include "tools/replay/replay_script.h"

namespace {

// Walks and jumps through stage 1 for as long as the frame limit lets it.
constexpr const char* kBusyScript = "181 -\n"
                                    "60 R\n14 -\n10 J\n60 -\n"
                                    "400 RJ\n40 -\n400 R\n";
constexpr long kFramesPerRun = 1200;

void BM_HeadlessReplayFrames(benchmark::State& state)
{
    static bool started = false;
    if (!started) {
        StartReplayPlatform(DefaultReplayDataDir());
        started = true;
    }
    ReplayScript script;
    std::string error;
    if (!ParseReplayScript(kBusyScript, script, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    ReplayOptions options;
    options.stage = 1;
    options.maxFrames = kFramesPerRun;
    options.attempts = 1000; // deaths only restart the stage
    std::FILE* sink = std::fopen("/dev/null", "w");
    long frames = 0;
    for (auto _ : state)
        frames += PlayReplay(options, &script, "", sink).frames;
    std::fclose(sink);
    state.counters["frames_per_second"] = benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_HeadlessReplayFrames)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
