// Cost of each presentation pass (320x240 -> 640x480) against a memcpy of one output frame.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/scalers.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kSkyHeight = 128;     // open sky above the ground
constexpr int kPlayfieldHeight = 192;
constexpr int kTile = 16;
constexpr int kSpriteCount = 12;
constexpr int kNoiseOneIn = 97;     // about one pixel in a hundred is noise

struct Rgb {
    int r, g, b;
};

// A picture like the game shows: flat sky, a band of 16x16 brick tiles and a few
// floating blocks, outlined round sprites, a HUD strip with one-pixel text strokes,
// and a little noise. Deterministic so every run measures the same pixels.
std::vector<Rgb> GamePicture()
{
    std::vector<Rgb> p(kWidth * kHeight, Rgb{96, 160, 248});
    auto at = [&](int x, int y) -> Rgb& { return p[y * kWidth + x]; };
    for (int y = kSkyHeight; y < kPlayfieldHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int tx = x % kTile;
            const int ty = y % kTile;
            const bool mortar = ty == 0 || ty == kTile / 2 || tx == ((y / (kTile / 2)) % 2 ? kTile / 2 : 0);
            at(x, y) = mortar ? Rgb{64, 40, 24} : Rgb{168, 96, 48};
        }
    for (int block = 0; block < 6; ++block)
        for (int y = 80; y < 96; ++y)
            for (int x = 40 + block * 40; x < 56 + block * 40; ++x) {
                const bool rim = y == 80 || y == 95 || x == 40 + block * 40 || x == 55 + block * 40;
                at(x, y) = rim ? Rgb{0, 0, 0} : Rgb{240, 200, 0};
            }
    for (int s = 0; s < kSpriteCount; ++s) {
        const int cx = 12 + s * 26;
        const int cy = 40 + (s * 37) % 70;
        for (int dy = -8; dy < 8; ++dy)
            for (int dx = -8; dx < 8; ++dx) {
                const int d = dx * dx + dy * dy;
                if (d < 36)
                    at(cx + dx, cy + dy) = Rgb{255, 255 - s * 16, s * 20};
                else if (d < 56)
                    at(cx + dx, cy + dy) = Rgb{0, 0, 0};
            }
    }
    for (int y = kPlayfieldHeight; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            at(x, y) = Rgb{0, 0, 0};
    // Text: 8x8 cells whose strokes are single pixels.
    for (int cell = 0; cell < 36; ++cell) {
        const int ox = 8 + cell * 8;
        for (int row = 0; row < 2; ++row) {
            const int oy = 200 + row * 16;
            for (int i = 0; i < 7; ++i) {
                at(ox + (cell % 3 == 0 ? 0 : 6), oy + i) = Rgb{255, 255, 255};
                at(ox + i, oy + (cell % 2 ? 0 : 6)) = Rgb{255, 255, 255};
                at(ox + i, oy + i * (cell % 5) % 7) = Rgb{255, 255, 255};
            }
        }
    }
    uint32_t seed = 12345;
    for (Rgb& px : p) {
        seed = seed * 1103515245u + 12345u;
        if ((seed >> 16) % kNoiseOneIn == 0)
            px = Rgb{static_cast<int>(seed >> 8) & 255, static_cast<int>(seed >> 16) & 255, static_cast<int>(seed >> 24)};
    }
    return p;
}

// The picture packed in a layout: 565 in two bytes, or BGR bytes (0xRRGGBB little-endian).
std::vector<uint8_t> Packed(int bytesPerPixel)
{
    const std::vector<Rgb> p = GamePicture();
    std::vector<uint8_t> out(p.size() * bytesPerPixel);
    for (size_t i = 0; i < p.size(); ++i) {
        const Rgb c = p[i];
        if (bytesPerPixel == 2) {
            const uint16_t v = static_cast<uint16_t>(((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3));
            std::memcpy(&out[i * 2], &v, 2);
        } else {
            out[i * 3] = static_cast<uint8_t>(c.b);
            out[i * 3 + 1] = static_cast<uint8_t>(c.g);
            out[i * 3 + 2] = static_cast<uint8_t>(c.r);
        }
    }
    return out;
}

struct Frames {
    std::vector<uint8_t> src;
    std::vector<uint8_t> dst;
    int bpp;
};

Frames MakeFrames(int bytesPerPixel)
{
    return Frames{Packed(bytesPerPixel),
                  std::vector<uint8_t>(kDoubledWidth * kDoubledHeight * bytesPerPixel), bytesPerPixel};
}

void SetBytes(benchmark::State& state, const Frames& f)
{
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(f.dst.size()));
}

void BM_Memcpy(benchmark::State& state)
{
    Frames f = MakeFrames(static_cast<int>(state.range(0)));
    std::vector<uint8_t> from(f.dst.size(), 1);
    for (auto _ : state) {
        std::memcpy(f.dst.data(), from.data(), f.dst.size());
        benchmark::ClobberMemory();
    }
    SetBytes(state, f);
}

void BM_Plain(benchmark::State& state)
{
    Frames f = MakeFrames(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        ScalePlain(f.src.data(), kWidth * f.bpp, f.dst.data(), kDoubledWidth * f.bpp, f.bpp);
        benchmark::ClobberMemory();
    }
    SetBytes(state, f);
}

void BM_Scale2x(benchmark::State& state)
{
    Frames f = MakeFrames(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Scale2x(f.src.data(), kWidth * f.bpp, f.dst.data(), kDoubledWidth * f.bpp, f.bpp);
        benchmark::ClobberMemory();
    }
    SetBytes(state, f);
}

// Smoothing, including the fill of the smoothing buffer.
void BM_Smooth(benchmark::State& state)
{
    Frames f = MakeFrames(static_cast<int>(state.range(0)));
    std::vector<uint32_t> buffer(kSmoothBufferWords);
    const uint32_t mask = f.bpp == 2 ? SmoothMask(11, 5, 0, 2) : SmoothMask(16, 8, 0, 3);
    for (auto _ : state) {
        ScaleSmooth(f.src.data(), kWidth * f.bpp, f.dst.data(), kDoubledWidth * f.bpp, f.bpp, mask, buffer.data());
        benchmark::ClobberMemory();
    }
    SetBytes(state, f);
}

} // namespace

// The machine is shared, so besides mean and median the fastest repetition is reported:
// run with --benchmark_repetitions=10 --benchmark_enable_random_interleaving=true.
double Fastest(const std::vector<double>& v)
{
    return *std::min_element(v.begin(), v.end());
}

BENCHMARK(BM_Memcpy)->Arg(2)->Arg(3)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_Plain)->Arg(2)->Arg(3)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_Scale2x)->Arg(2)->Arg(3)->ComputeStatistics("min", Fastest);
BENCHMARK(BM_Smooth)->Arg(2)->Arg(3)->ComputeStatistics("min", Fastest);
