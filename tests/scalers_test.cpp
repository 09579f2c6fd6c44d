// The scalers: every scaler set the processor runs against the portable passes, on random
// pictures and real game frames in 16-bit (565) and 24-bit layouts, and the rules by hand.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/scaler_sets.h"
#include "platform/scalers.h"
#include "platform/screenshot.h"
#include "test_support.h"

namespace {

constexpr int kW = 320;
constexpr int kH = 240;
// Rows carry spare bytes so the passes must honour the pitches and leave them alone.
constexpr int kPad = 12;
constexpr uint8_t kSentinel = 0xAB;

// A picture in raw bytes with a pitch, as a locked SDL surface gives it.
struct Picture {
    int w, h, bpp, pitch;
    std::vector<uint8_t> bytes;

    Picture(int width, int height, int bytesPerPixel)
        : w(width), h(height), bpp(bytesPerPixel), pitch(width * bytesPerPixel + kPad),
          bytes(static_cast<size_t>(pitch) * height, kSentinel)
    {
    }
    // Pixels by value: 2-byte ones as the host's 16-bit words (as SDL stores them),
    // 3-byte ones lowest byte first on every host.
    uint32_t Get(int x, int y) const
    {
        const uint8_t* p = &bytes[y * pitch + x * bpp];
        if (bpp == 2) {
            uint16_t v;
            std::memcpy(&v, p, sizeof v);
            return v;
        }
        return p[0] | (p[1] << 8) | (static_cast<uint32_t>(p[2]) << 16);
    }
    void Set(int x, int y, uint32_t v)
    {
        uint8_t* p = &bytes[y * pitch + x * bpp];
        if (bpp == 2) {
            const auto w = static_cast<uint16_t>(v);
            std::memcpy(p, &w, sizeof w);
            return;
        }
        for (int i = 0; i < 3; ++i)
            p[i] = static_cast<uint8_t>(v >> (8 * i));
    }
};

// A pixel layout: 565 in two bytes or 0xRRGGBB in three, and its smoothing masks.
struct Layout {
    int bpp;
    int shift[3]; // red, green, blue
    int bits[3];
    uint32_t Rgb(int r, int g, int b) const
    {
        const int c[3] = {r, g, b};
        uint32_t v = 0;
        for (int i = 0; i < 3; ++i)
            v |= static_cast<uint32_t>(c[i] >> (8 - bits[i])) << shift[i];
        return v;
    }
    uint32_t Mask() const { return SmoothMask(shift[0], shift[1], shift[2], bpp); }
};

const Layout kLayouts[] = {{2, {11, 5, 0}, {5, 6, 5}}, {3, {16, 8, 0}, {8, 8, 8}}};

// A logical picture of a layout from a function of (x, y) giving the pixel value.
template <typename F>
Picture Make(const Layout& l, F pixel)
{
    Picture p(kW, kH, l.bpp);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            p.Set(x, y, pixel(x, y));
    return p;
}

// Small deterministic generator (xorshift).
struct Rng {
    uint32_t s;
    uint32_t Next()
    {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return s;
    }
};

// Frames the game drew (stage 1 while it is played, and the title), as 8-bit RGB rows.
struct Frame {
    std::vector<uint8_t> rgb;
};

std::vector<Frame> GameFrames()
{
    testsupport::ScratchDir dir;
    const std::string tool = std::string(FRIBB3_BINARY_DIR) + "/fribb3-replay";
    const std::string runs[] = {"--stage 1 --shot 600:" + (dir / "a.bmp").string() + " " + FRIBB3_SOURCE_DIR +
                                    "/content/maps/fribb301-finish.replay",
                                "--stage 0 --frames 150 --shot 150:" + (dir / "b.bmp").string() + " - < /dev/null"};
    std::vector<Frame> frames;
    for (const std::string& run : runs)
        EXPECT_EQ(testsupport::RunCommand(tool + " " + run + " > /dev/null").exitCode, 0) << run;
    for (const char* name : {"a.bmp", "b.bmp"}) {
        SDL_Surface* s = SDL_LoadBMP((dir / name).string().c_str());
        if (!s)
            continue;
        Frame f;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                uint8_t c[3];
                ReadSurfacePixel(s, x, y, &c[0], &c[1], &c[2]);
                f.rgb.insert(f.rgb.end(), c, c + 3);
            }
        SDL_FreeSurface(s);
        frames.push_back(f);
    }
    return frames;
}

enum class Pass { Plain, Scale2x, Smooth };

// What one set's pass writes into a sentinel-filled picture and smoothing buffer.
struct Result {
    Picture out;
    std::vector<uint32_t> buffer;
};

Result RunPass(const ScalerSet& set, Pass pass, const Picture& src, uint32_t mask)
{
    Result r{Picture(kDoubledWidth, kDoubledHeight, src.bpp), std::vector<uint32_t>(kSmoothBufferWords, 0xDEADBEEF)};
    const uint8_t* s = src.bytes.data();
    uint8_t* d = r.out.bytes.data();
    if (pass == Pass::Plain)
        set.plain(s, src.pitch, d, r.out.pitch, src.bpp);
    else if (pass == Pass::Scale2x)
        set.scale2x(s, src.pitch, d, r.out.pitch, src.bpp);
    else
        set.smooth(s, src.pitch, d, r.out.pitch, src.bpp, mask, r.buffer.data());
    return r;
}

TEST(Scalers, EveryRunnableSetWritesWhatThePortablePassesWrite)
{
    const std::vector<Frame> frames = GameFrames();
    ASSERT_EQ(frames.size(), 2u);
    const std::vector<const ScalerSet*> sets = RunnableScalerSets();
    for (const Layout& l : kLayouts) {
        const uint32_t all = l.bpp == 2 ? 0xFFFF : 0xFFFFFF;
        const uint32_t palette[] = {l.Rgb(0, 0, 0), l.Rgb(255, 0, 0), l.Rgb(0, 0, 255), l.Rgb(255, 255, 255)};
        Rng rng{7};
        std::vector<Picture> pictures = {Make(l, [&](int, int) { return rng.Next() & all; }),
                                         Make(l, [&](int, int) { return palette[rng.Next() % 4]; })};
        for (const Frame& f : frames)
            pictures.push_back(Make(l, [&](int x, int y) {
                const uint8_t* c = &f.rgb[(y * kW + x) * 3];
                return l.Rgb(c[0], c[1], c[2]);
            }));
        // The format's mask, and one that keeps the lowest bit, which averaging instructions
        // (rounding up) would get wrong.
        const uint32_t masks[] = {l.Mask(), l.Mask() | (0x010101u & all)};
        for (size_t i = 0; i < pictures.size(); ++i)
            for (Pass pass : {Pass::Plain, Pass::Scale2x, Pass::Smooth})
                for (uint32_t mask : masks) {
                    const Result want = RunPass(kPortableScalers, pass, pictures[i], mask);
                    for (int y = 0; y < kDoubledHeight; ++y)
                        for (int b = kDoubledWidth * l.bpp; b < want.out.pitch; ++b)
                            ASSERT_EQ(want.out.bytes[y * want.out.pitch + b], kSentinel) << "padding of row " << y;
                    for (const ScalerSet* set : sets) {
                        const Result got = RunPass(*set, pass, pictures[i], mask);
                        EXPECT_TRUE(got.out.bytes == want.out.bytes && got.buffer == want.buffer)
                            << set->name << ", " << l.bpp << " bytes, picture " << i << ", pass "
                            << static_cast<int>(pass) << ", mask " << std::hex << mask;
                    }
                }
    }
}

TEST(Scalers, EnvironmentVariableForcesASetAndTimingPicksTheFastestOtherwise)
{
    const std::vector<const ScalerSet*> sets = RunnableScalerSets();
    int runs = 0;
    const auto count = [&](const ScalerSet&) { ++runs; };
    for (const ScalerSet* forced : sets) {
        setenv("FRIBB3_SCALERS", forced->name, 1);
        EXPECT_EQ(&PickScalerSet(), forced);
        runs = 0;
        EXPECT_EQ(&PickFastestScalerSet(count), forced);
        EXPECT_EQ(runs, 0) << "a forced set needs no timing";
    }
    unsetenv("FRIBB3_SCALERS");
    EXPECT_EQ(&PickScalerSet(), sets.back());
    // Each set but one is made slow by its run: the quick one wins, wherever it stands.
    for (const ScalerSet* quick : sets) {
        runs = 0;
        const ScalerSet& picked = PickFastestScalerSet([&](const ScalerSet& set) {
            ++runs;
            if (&set != quick)
                SDL_Delay(2);
        });
        EXPECT_EQ(&picked, quick);
        EXPECT_GE(runs, static_cast<int>(2 * sets.size()));
        EXPECT_LE(runs, static_cast<int>(4 * sets.size()));
    }
}

// Integer scaling by n against a picture made block by block, at odd sizes and pitches, for
// every factor a desktop can need; the bytes around each row's picture stay as they were.
TEST(Scalers, RepeatMakesUniformBlocksAndWritesNothingElse)
{
    for (const Layout& l : kLayouts) {
        const uint32_t all = l.bpp == 2 ? 0xFFFF : 0xFFFFFF;
        Rng rng{5};
        for (int width : {1, 7, 13, 320, 640})
            for (int n = 1; n <= 12; ++n) {
                const int height = width == 640 ? 3 : 5;
                Picture src(width, height, l.bpp);
                for (int y = 0; y < height; ++y)
                    for (int x = 0; x < width; ++x)
                        src.Set(x, y, rng.Next() & all);
                // The picture sits inside a larger surface, away from its edges.
                constexpr int kInset = 3;
                Picture out(width * n + 2 * kInset, height * n + 2, l.bpp);
                ScaleRepeat(src.bytes.data(), src.pitch, width, height, &out.bytes[out.pitch + kInset * l.bpp],
                            out.pitch, l.bpp, n);
                for (int y = 0; y < out.h; ++y)
                    for (int x = 0; x < out.w; ++x) {
                        const int px = x - kInset;
                        const int py = y - 1;
                        if (px < 0 || py < 0 || px >= width * n || py >= height * n) {
                            for (int b = 0; b < l.bpp; ++b)
                                ASSERT_EQ(out.bytes[y * out.pitch + x * l.bpp + b], kSentinel)
                                    << "written outside at " << x << "," << y << " width " << width << " n " << n;
                        } else {
                            ASSERT_EQ(out.Get(x, y), src.Get(px / n, py / n))
                                << l.bpp << " bytes, width " << width << ", n " << n << " at " << x << "," << y;
                        }
                    }
                for (int y = 0; y < out.h; ++y)
                    for (int b = out.w * l.bpp; b < out.pitch; ++b)
                        ASSERT_EQ(out.bytes[y * out.pitch + b], kSentinel);
            }
    }
}

// Scale2x written pixel by pixel straight from the rule.
uint32_t RuleScale2x(const Picture& src, int ox, int oy)
{
    const int x = ox / 2;
    const int y = oy / 2;
    auto at = [&](int px, int py) {
        return px < 0 || px >= kW || py < 0 || py >= kH ? src.Get(x, y) : src.Get(px, py);
    };
    const uint32_t b = at(x, y - 1), d = at(x - 1, y), e = at(x, y), f = at(x + 1, y), h = at(x, y + 1);
    if (b == h || d == f)
        return e;
    const uint32_t side = ox % 2 ? f : d;
    return (oy % 2 ? h : b) == side ? side : e;
}

TEST(Scalers, RulesHoldPixelByPixel)
{
    for (const Layout& l : kLayouts) {
        const uint32_t all = l.bpp == 2 ? 0xFFFF : 0xFFFFFF;
        const uint32_t palette[] = {l.Rgb(0, 0, 0), l.Rgb(255, 0, 0), l.Rgb(0, 0, 255), l.Rgb(255, 255, 255)};
        Rng rng{99};
        const Picture few = Make(l, [&](int, int) { return palette[rng.Next() % 4]; });
        const Picture scaled = RunPass(kPortableScalers, Pass::Scale2x, few, 0).out;
        for (int y = 0; y < kDoubledHeight; ++y)
            for (int x = 0; x < kDoubledWidth; ++x)
                ASSERT_EQ(scaled.Get(x, y), RuleScale2x(few, x, y)) << l.bpp << " bytes at " << x << "," << y;

        const Picture noise = Make(l, [&](int, int) { return rng.Next() & all; });
        const Picture doubled = RunPass(kPortableScalers, Pass::Plain, noise, 0).out;
        for (int y = 0; y < kDoubledHeight; ++y)
            for (int x = 0; x < kDoubledWidth; ++x)
                ASSERT_EQ(doubled.Get(x, y), noise.Get(x / 2, y / 2)) << l.bpp << " bytes at " << x << "," << y;

        // Smoothing: the buffer's value pairs, copies and averages of masked neighbours;
        // the last column copies, and the last logical row fills the last two output rows.
        const uint32_t m = l.Mask();
        const auto p = [&](int x, int y) { return noise.Get(x, y); };
        const auto avg = [&](uint32_t a, uint32_t b) { return ((a & m) + (b & m)) >> 1; };
        const Result s = RunPass(kPortableScalers, Pass::Smooth, noise, m);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const int i = y * kW + x;
                ASSERT_EQ(s.buffer[2 * i], p(x, y));
                ASSERT_EQ(s.buffer[2 * i + 1], p(x, y) & m);
                const bool end = x == kW - 1;
                const uint32_t even[2] = {p(x, y), end ? p(x, y) : avg(p(x, y), p(x + 1, y))};
                const uint32_t odd[2] = {y + 1 == kH ? even[0]
                                         : end       ? p(x, y + 1)
                                                     : avg(p(x, y), p(x, y + 1)),
                                         y + 1 == kH ? even[1]
                                         : end       ? p(x, y + 1)
                                                     : avg(p(x, y + 1), p(x + 1, y))};
                for (int k = 0; k < 2; ++k) {
                    ASSERT_EQ(s.out.Get(2 * x + k, 2 * y), even[k]) << l.bpp << " bytes at " << x << "," << y;
                    ASSERT_EQ(s.out.Get(2 * x + k, 2 * y + 1), odd[k]) << l.bpp << " bytes at " << x << "," << y;
                }
            }
        // Full red next to full blue averages to half of each and no green: no carries.
        const Picture rb = Make(l, [&](int x, int) { return x % 2 ? l.Rgb(0, 0, 255) : l.Rgb(255, 0, 0); });
        const uint32_t mid = RunPass(kPortableScalers, Pass::Smooth, rb, m).out.Get(21, 40);
        EXPECT_EQ(mid, (((1u << (l.bits[0] - 1)) - 1) << l.shift[0]) | (((1u << (l.bits[2] - 1)) - 1) << l.shift[2]));
    }
}

} // namespace
