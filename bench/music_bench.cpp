// One music hook call for a 1024-frame stereo buffer on the busiest module we ship
// (or a generated 8-channel one when no music is built); the median must stay under 2 ms.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "audio/music.h"
#include "audio/music_hook.h"
#include "core/settings.h"
#include "tests/music_test_module.h"

namespace {

constexpr int kBufferBytes = 1024 * 4;
// How much of each module is rendered to find the busiest one: about 20 seconds.
constexpr int kProbeCalls = 430;
constexpr double kBudgetMs = 2.0;

struct BenchModule {
    MusicModule* module = nullptr;
    std::string name;
};

double SecondsToRender(MusicModule* m)
{
    std::vector<uint8_t> buffer(kBufferBytes);
    musicLoopsLeft = -1;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kProbeCalls; ++i)
        MusicHook(m, buffer.data(), kBufferBytes);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Loads every module of data/music.zda with the default renderer settings and keeps the
// one that takes longest to render.
BenchModule BusiestModule()
{
    settings = Settings{};
    SetMusicOutputFormat(22050, 2);
    SetMusicVolume(128);
    OpenArchiveFile(ArchiveMusic, "data/music.zda");
    BenchModule best;
    double bestTime = -1.0;
    for (int id = 0; id < kMusicCount; ++id) {
        MusicModule* m = LoadMusic(id);
        if (!m)
            continue;
        const double t = SecondsToRender(m);
        if (t > bestTime) {
            FreeMusic(best.module);
            best = {m, kMusicNames[id]};
            bestTime = t;
        } else {
            FreeMusic(m);
        }
    }
    CloseArchives();
    if (!best.module) {
        ApplyMusicSettings();
        music_test::TinyModOptions o;
        o.channels = 8;
        o.everyChannelPlays = true;
        o.speed = 31; // a long song, so the benchmark never times the silent end
        const std::vector<uint8_t> bytes = music_test::MakeTinyMod(o);
        best = {LoadMusicFromMemory(bytes.data(), bytes.size()), "generated 8-channel module"};
    }
    return best;
}

void BM_MusicHookBuffer(benchmark::State& state)
{
    static const BenchModule busiest = BusiestModule();
    if (!busiest.module) {
        state.SkipWithError("no module to render");
        return;
    }
    state.SetLabel(busiest.name);
    std::vector<uint8_t> buffer(kBufferBytes);
    std::vector<double> times;
    musicLoopsLeft = -1;
    ModPlug_Seek(busiest.module->file, 0);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        MusicHook(busiest.module, buffer.data(), kBufferBytes);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        times.push_back(seconds);
        benchmark::DoNotOptimize(buffer.data());
    }
    std::sort(times.begin(), times.end());
    const double medianMs = times.empty() ? 0.0 : times[times.size() / 2] * 1000.0;
    state.counters["median_ms"] = medianMs;
    state.counters["budget_ms"] = kBudgetMs;
    if (medianMs > kBudgetMs)
        state.SkipWithError("median hook call over the 2 ms budget");
}
BENCHMARK(BM_MusicHookBuffer)->UseManualTime()->Unit(benchmark::kMicrosecond)->MinTime(2.0);

} // namespace
