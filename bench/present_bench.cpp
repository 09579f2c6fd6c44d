// CPU time of presenting one frame, per display choice and desktop size, on the headless
// driver: the game's own scaling into the video surface ("scale_us", with its ratio to a
// memcpy of the picture's bytes) and the whole PresentScreen with the compatibility layer's
// work ("present_us", process CPU time, every thread). The scaler sets are picked by timing.
// Run: build/fribb3_bench --benchmark_filter=Present --benchmark_counters_tabular=true
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <ctime>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/display.h"

namespace {

constexpr int kFrames = 60;

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// A screen of noise-free pixel art: stripes and blocks, so Scale2x has edges to round.
void DrawTestPicture()
{
    for (int y = 0; y < 240; y += 8)
        for (int x = 0; x < 320; x += 8) {
            SDL_Rect r{static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(4 + (x + y) % 5), 6};
            SDL_FillRect(screenSurface, &r,
                         SDL_MapRGB(screenSurface->format, static_cast<Uint8>(x), static_cast<Uint8>(y), 99));
        }
}

struct Choice {
    const char* name;
    int smooth, scale2x, depth;
};

void RunPresent(benchmark::State& state, Choice c, int desktopW, int desktopH)
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        SDL_Init(SDL_INIT_VIDEO);
    DisplayConfig d;
    d.fullscreen = desktopW > 0;
    d.zoom = 1;
    d.smooth = c.smooth;
    d.scale2x = c.scale2x;
    d.depth = c.depth;
    OpenDisplayForDesktop(d, desktopW, desktopH);
    DrawTestPicture();
    const PictureLayout l = DisplayLayout();
    const size_t pictureBytes = static_cast<size_t>(l.width) * l.height * (c.depth / 8);
    std::vector<uint8_t> from(pictureBytes, 1), to(pictureBytes);
    double scale = 0, present = 0, copy = 0;
    long frames = 0;
    for (auto _ : state) {
        double t = CpuSeconds();
        for (int i = 0; i < kFrames; ++i) {
            std::memcpy(to.data(), from.data(), pictureBytes);
            benchmark::ClobberMemory();
        }
        copy += CpuSeconds() - t;
        t = CpuSeconds();
        for (int i = 0; i < kFrames; ++i)
            ScalePicture();
        scale += CpuSeconds() - t;
        t = CpuSeconds();
        for (int i = 0; i < kFrames; ++i)
            PresentScreen();
        present += CpuSeconds() - t;
        frames += kFrames;
    }
    state.counters["factor"] = l.factor;
    state.counters["scale_us"] = scale / frames * 1e6;
    state.counters["memcpy_us"] = copy / frames * 1e6;
    state.counters["scale_ratio"] = scale / copy;
    state.counters["present_us"] = present / frames * 1e6;
    state.SetLabel(std::string("scalers ") + ChosenScalerSet());
    CloseDisplay();
}

bool RegisterCases()
{
    const Choice choices[] = {{"plain16", 0, 0, 16}, {"scale2x16", 0, 1, 16}, {"smooth16", 1, 0, 16},
                              {"plain24", 0, 0, 24}, {"scale2x24", 0, 1, 24}, {"smooth24", 1, 0, 24}};
    // Desktop 0x0: the 640x480 window.
    const int desktops[][2] = {{0, 0}, {1366, 768}, {1920, 1080}, {2560, 1440}, {3840, 2160}, {2560, 1080}};
    for (const Choice& c : choices)
        for (const auto& size : desktops) {
            const std::string name = std::string("Present/") + c.name + "/" +
                                     (size[0] ? std::to_string(size[0]) + "x" + std::to_string(size[1]) : "window");
            benchmark::RegisterBenchmark(name.c_str(), RunPresent, c, size[0], size[1])
                ->Iterations(3)
                ->Unit(benchmark::kMillisecond);
        }
    return true;
}

const bool registered = RegisterCases();

} // namespace
