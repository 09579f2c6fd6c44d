// Cost of each presentation pass (320x240 -> 640x480) as a ratio to a memcpy of one output
// frame of the same depth, for every scaler set this processor runs. Each round times a
// batch of memcpy and right after it a batch of the pass, and takes the ratio of the pair,
// so a shared, busy machine slows both alike; the median of the rounds' ratios is reported.
// Run: build/fribb3_bench --benchmark_filter=Scalers --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/scaler_sets.h"
#include "platform/scalers.h"
#include "platform/screenshot.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kRounds = 41;
constexpr int kBatch = 4; // runs per timed batch: short, so few batches are cut by other processes

// A frame the game drew: stage 1 after 600 frames of its finishing replay, taken by
// fribb3-replay (next to this program) as 8-bit RGB. Empty when it cannot be made.
std::vector<uint8_t> GameFrameRgb()
{
    namespace fs = std::filesystem;
    const fs::path dir = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path shot = fs::temp_directory_path() / ("fribb3-bench-" + std::to_string(getpid()) + ".bmp");
    const std::string command = (dir / "fribb3-replay").string() +
                                " --stage 1 --frames 600 --shot 600:" + shot.string() +
                                " " FRIBB3_SOURCE_DIR "/content/maps/fribb301-finish.replay > /dev/null";
    std::vector<uint8_t> rgb;
    if (std::system(command.c_str()) != 0)
        return rgb;
    if (SDL_Surface* s = SDL_LoadBMP(shot.string().c_str())) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                uint8_t c[3];
                ReadSurfacePixel(s, x, y, &c[0], &c[1], &c[2]);
                rgb.insert(rgb.end(), c, c + 3);
            }
        SDL_FreeSurface(s);
    }
    fs::remove(shot);
    return rgb;
}

// The picture in a layout: 565 in two bytes, or 0xRRGGBB in three (lowest byte first).
std::vector<uint8_t> Packed(const std::vector<uint8_t>& rgb, int bytesPerPixel)
{
    std::vector<uint8_t> out(kWidth * kHeight * bytesPerPixel);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const uint32_t r = rgb[3 * i], g = rgb[3 * i + 1], b = rgb[3 * i + 2];
        const uint32_t v =
            bytesPerPixel == 2 ? ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3) : (r << 16) | (g << 8) | b;
        std::memcpy(&out[i * bytesPerPixel], &v, bytesPerPixel);
    }
    return out;
}

// Random pixels, the worst case for the Scale2x shortcuts.
std::vector<uint8_t> NoiseRgb()
{
    std::vector<uint8_t> rgb(kWidth * kHeight * 3);
    uint32_t seed = 12345;
    for (uint8_t& c : rgb) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<uint8_t>(seed >> 16);
    }
    return rgb;
}

enum class Pass { Plain, Scale2x, Smooth };

struct Case {
    Pass pass;
    int bytesPerPixel;
    bool game;     // a game frame, else noise
    double target; // ratio to memcpy the best set should stay within
};

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

void RunCase(benchmark::State& state, Case c)
{
    static const std::vector<uint8_t> game = GameFrameRgb();
    if (c.game && game.empty()) {
        state.SkipWithError("no game frame: build fribb3-replay and the data archives");
        return;
    }
    const int bpp = c.bytesPerPixel;
    const std::vector<uint8_t> src = Packed(c.game ? game : NoiseRgb(), bpp);
    const size_t frameBytes = static_cast<size_t>(kDoubledWidth) * kDoubledHeight * bpp;
    std::vector<uint8_t> dst(frameBytes);
    const std::vector<uint8_t> from(frameBytes, 1);
    std::vector<uint32_t> buffer(kSmoothBufferWords);
    const uint32_t mask = bpp == 2 ? SmoothMask(11, 5, 0, 2) : SmoothMask(16, 8, 0, 3);
    const std::vector<const ScalerSet*> sets = RunnableScalerSets();

    auto run = [&](const ScalerSet& set) {
        if (c.pass == Pass::Plain)
            set.plain(src.data(), kWidth * bpp, dst.data(), kDoubledWidth * bpp, bpp);
        else if (c.pass == Pass::Scale2x)
            set.scale2x(src.data(), kWidth * bpp, dst.data(), kDoubledWidth * bpp, bpp);
        else
            set.smooth(src.data(), kWidth * bpp, dst.data(), kDoubledWidth * bpp, bpp, mask, buffer.data());
        benchmark::ClobberMemory();
    };
    auto timed = [](auto&& body) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kBatch; ++i)
            body();
        return Seconds(std::chrono::steady_clock::now() - start);
    };

    std::vector<std::vector<double>> ratios(sets.size());
    std::vector<double> copies;
    std::vector<double> fastest; // the last (fastest) set's pass
    for (auto _ : state) {
        double pass = 0;
        for (size_t s = 0; s < sets.size(); ++s) {
            const double copy = timed([&] {
                std::memcpy(dst.data(), from.data(), frameBytes);
                benchmark::ClobberMemory();
            });
            pass = timed([&] { run(*sets[s]); });
            ratios[s].push_back(pass / copy);
            copies.push_back(copy);
        }
        fastest.push_back(pass);
        state.SetIterationTime(pass / kBatch);
    }
    for (size_t s = 0; s < sets.size(); ++s)
        state.counters[sets[s]->name] = Median(ratios[s]);
    state.counters["target"] = c.target;
    state.counters["memcpy_us"] = Median(copies) / kBatch * 1e6;
    state.counters["fastest_us"] = Median(fastest) / kBatch * 1e6;
}

// One row per pass, depth and picture: a column of median ratios per set, the target, and the
// median times of the memcpy and of the fastest set's pass (the time column: its mean).
bool RegisterCases()
{
    struct Row {
        const char* name;
        Pass pass;
        double target16, target24game, target24noise;
    };
    const Row rows[] = {{"plain", Pass::Plain, 1.2, 1.2, 1.2},
                        {"scale2x", Pass::Scale2x, 2.0, 2.0, 3.0},
                        {"smooth", Pass::Smooth, 2.0, 2.5, 2.5}};
    for (const Row& r : rows)
        for (int bpp : {2, 3})
            for (bool game : {true, false}) {
                const double target = bpp == 2 ? r.target16 : game ? r.target24game : r.target24noise;
                const std::string name = std::string("Scalers/") + r.name + "/" + std::to_string(8 * bpp) + "bit/" +
                                         (game ? "game" : "noise");
                benchmark::RegisterBenchmark(name.c_str(), RunCase, Case{r.pass, bpp, game, target})
                    ->Iterations(kRounds)
                    ->UseManualTime()
                    ->Unit(benchmark::kMicrosecond);
            }
    return true;
}

const bool registered = RegisterCases();

} // namespace
