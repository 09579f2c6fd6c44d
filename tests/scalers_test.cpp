// Plain doubling, Scale2x and smoothing on hand-made pictures in 16-bit (565) and 24-bit layouts.
#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <ostream>
#include <vector>

#include "platform/scalers.h"

namespace {

constexpr int kW = 320;
constexpr int kH = 240;
constexpr int kOutW = kDoubledWidth;
constexpr int kOutH = kDoubledHeight;
// Rows carry a few spare bytes so the scalers must honour the pitches.
constexpr int kPad = 12;
constexpr uint8_t kSentinel = 0xAB;

// A picture in raw bytes with a pitch, as a locked SDL surface would give it.
struct Picture {
    int w, h, bpp, pitch;
    std::vector<uint8_t> bytes;

    Picture(int width, int height, int bytesPerPixel)
        : w(width), h(height), bpp(bytesPerPixel), pitch(width * bytesPerPixel + kPad),
          bytes(static_cast<size_t>(pitch) * height, kSentinel)
    {
    }
    uint32_t Get(int x, int y) const
    {
        uint32_t v = 0;
        std::memcpy(&v, &bytes[y * pitch + x * bpp], bpp);
        return v;
    }
    void Set(int x, int y, uint32_t v) { std::memcpy(&bytes[y * pitch + x * bpp], &v, bpp); }
    void Fill(uint32_t v)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, v);
    }
    // True when every padding byte past the last pixel of each row still holds the sentinel.
    bool PaddingIntact() const
    {
        for (int y = 0; y < h; ++y)
            for (int i = w * bpp; i < pitch; ++i)
                if (bytes[y * pitch + i] != kSentinel)
                    return false;
        return true;
    }
};

// The two layouts: colours given as 8-bit components, stored as 565 or as 0xRRGGBB.
struct Layout {
    int bpp;
    int rShift, gShift, bShift;
    int rBits, gBits, bBits;
    const char* name;
};

void PrintTo(const Layout& l, std::ostream* os)
{
    *os << l.name;
}

const Layout k565{2, 11, 5, 0, 5, 6, 5, "565"};
const Layout k888{3, 16, 8, 0, 8, 8, 8, "888"};

uint32_t Rgb(const Layout& l, int r, int g, int b)
{
    return (static_cast<uint32_t>(r >> (8 - l.rBits)) << l.rShift) |
           (static_cast<uint32_t>(g >> (8 - l.gBits)) << l.gShift) | (static_cast<uint32_t>(b >> (8 - l.bBits)) << l.bShift);
}

int Component(uint32_t v, int shift, int bits)
{
    return static_cast<int>((v >> shift) & ((1u << bits) - 1));
}

uint32_t Mask(const Layout& l)
{
    return SmoothMask(l.rShift, l.gShift, l.bShift, l.bpp);
}

Picture Source(const Layout& l, uint32_t background)
{
    Picture p(kW, kH, l.bpp);
    p.Fill(background);
    return p;
}

Picture Output(const Layout& l)
{
    return Picture(kOutW, kOutH, l.bpp);
}

Picture RunScale2x(const Picture& src)
{
    Picture out(kOutW, kOutH, src.bpp);
    Scale2x(src.bytes.data(), src.pitch, out.bytes.data(), out.pitch, src.bpp);
    return out;
}

Picture RunSmooth(const Layout& l, const Picture& src)
{
    std::vector<uint32_t> buffer(kSmoothBufferWords);
    Picture out(kOutW, kOutH, l.bpp);
    ScaleSmooth(src.bytes.data(), src.pitch, out.bytes.data(), out.pitch, l.bpp, Mask(l), buffer.data());
    return out;
}

// Small deterministic generator (xorshift) for pictures with few colours, so that
// neighbours often match; every bit of its output is usable.
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

// Scale2x written pixel by pixel straight from the rule, for comparison on random pictures.
uint32_t ReferenceScale2x(const Picture& src, int ox, int oy)
{
    const int x = ox / 2;
    const int y = oy / 2;
    auto at = [&](int px, int py) {
        if (px < 0 || px >= kW || py < 0 || py >= kH)
            return src.Get(x, y);
        return src.Get(px, py);
    };
    const uint32_t b = at(x, y - 1), d = at(x - 1, y), e = at(x, y), f = at(x + 1, y), h = at(x, y + 1);
    if (b == h || d == f)
        return e;
    const bool right = ox % 2;
    const bool lower = oy % 2;
    if (!lower && !right)
        return b == d ? d : e;
    if (!lower && right)
        return b == f ? f : e;
    if (lower && !right)
        return d == h ? d : e;
    return h == f ? f : e;
}

class ScalerLayouts : public ::testing::TestWithParam<Layout> {};

// ---- Plain doubling ----

TEST_P(ScalerLayouts, PlainDoublingMakesTwoByTwoBlocksAndKeepsPadding)
{
    const Layout l = GetParam();
    Picture src = Source(l, 0);
    Rng rng{7};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            src.Set(x, y, rng.Next() & (l.bpp == 2 ? 0xFFFF : 0xFFFFFF));
    Picture out = Output(l);
    ScalePlain(src.bytes.data(), src.pitch, out.bytes.data(), out.pitch, l.bpp);
    for (int y = 0; y < kOutH; ++y)
        for (int x = 0; x < kOutW; ++x)
            ASSERT_EQ(out.Get(x, y), src.Get(x / 2, y / 2)) << "at " << x << "," << y;
    EXPECT_TRUE(out.PaddingIntact());
}

// ---- Scale2x ----

TEST_P(ScalerLayouts, Scale2xBlockOnUniformBackgroundLosesOnlyItsCorners)
{
    const Layout l = GetParam();
    const uint32_t sky = Rgb(l, 96, 160, 248);
    const uint32_t block = Rgb(l, 255, 0, 0);
    Picture src = Source(l, sky);
    for (int y = 100; y < 102; ++y)
        for (int x = 50; x < 52; ++x)
            src.Set(x, y, block);
    const Picture out = RunScale2x(src);
    for (int y = 0; y < kOutH; ++y)
        for (int x = 0; x < kOutW; ++x) {
            const bool inBlock = x >= 100 && x < 104 && y >= 200 && y < 204;
            const bool corner = (x == 100 || x == 103) && (y == 200 || y == 203);
            ASSERT_EQ(out.Get(x, y), inBlock && !corner ? block : sky) << "at " << x << "," << y;
        }
    EXPECT_TRUE(out.PaddingIntact());
}

TEST_P(ScalerLayouts, Scale2xKeepsOnePixelDiagonalContinuous)
{
    const Layout l = GetParam();
    const uint32_t sky = Rgb(l, 0, 0, 128);
    const uint32_t line = Rgb(l, 255, 255, 255);
    Picture src = Source(l, sky);
    for (int i = 0; i < kH; ++i)
        src.Set(i + 40, i, line);
    const Picture out = RunScale2x(src);
    for (int i = 1; i + 1 < kH; ++i) {
        const int ox = 2 * (i + 40);
        const int oy = 2 * i;
        // The line pixel itself stays a full 2x2 block.
        EXPECT_EQ(out.Get(ox, oy), line);
        EXPECT_EQ(out.Get(ox + 1, oy + 1), line);
        // The background pixel to its right takes the line colour in its lower-left quarter only.
        EXPECT_EQ(out.Get(ox + 2, oy + 1), line) << "row " << i;
        EXPECT_EQ(out.Get(ox + 2, oy), sky);
        EXPECT_EQ(out.Get(ox + 3, oy + 1), sky);
        EXPECT_EQ(out.Get(ox + 3, oy), sky);
        // And the one below it in its upper-right quarter, so each row of the output
        // holds exactly one run of three line pixels that overlaps the next row's run.
        EXPECT_EQ(out.Get(ox + 1, oy + 2), line);
        int count = 0;
        for (int x = 0; x < kOutW; ++x)
            count += out.Get(x, oy + 1) == line;
        EXPECT_EQ(count, 3) << "row " << oy + 1;
    }
}

// Each edge: a neighbour outside the picture equals the pixel itself. The background is
// black, so an implementation that read zero or a wrapped row instead would differ.
TEST_P(ScalerLayouts, Scale2xTreatsMissingNeighboursAsThePixelItself)
{
    const Layout l = GetParam();
    const uint32_t black = 0;
    const uint32_t a = Rgb(l, 0, 255, 0);
    struct Case {
        int ax, ay;  // pixel E, colour a
        int nx, ny;  // its neighbour along the edge, colour a
        int ox, oy;  // output pixel that must be black
    };
    const Case cases[] = {
        {100, 0, 99, 0, 201, 1},                    // top row: missing B; D = a; E3 = F = black
        {100, kH - 1, 99, kH - 1, 201, 2 * kH - 2}, // bottom row: missing H; D = a; E1 = F
        {0, 100, 0, 99, 1, 201},                    // left column: missing D; B = a; E3 = H
        {kW - 1, 100, kW - 1, 99, 2 * kW - 2, 201}, // right column: missing F; B = a; E2 = H
    };
    for (const Case& c : cases) {
        Picture src = Source(l, black);
        src.Set(c.ax, c.ay, a);
        src.Set(c.nx, c.ny, a);
        const Picture out = RunScale2x(src);
        EXPECT_EQ(out.Get(c.ox, c.oy), black) << "edge case at " << c.ax << "," << c.ay;
        // The other three quarters stay a.
        int aCount = 0;
        for (int dy = 0; dy < 2; ++dy)
            for (int dx = 0; dx < 2; ++dx)
                aCount += out.Get(2 * c.ax + dx, 2 * c.ay + dy) == a;
        EXPECT_EQ(aCount, 3) << "edge case at " << c.ax << "," << c.ay;
    }
}

TEST_P(ScalerLayouts, Scale2xMatchesTheRuleOnRandomFewColourPictures)
{
    const Layout l = GetParam();
    const uint32_t palette[] = {Rgb(l, 0, 0, 0), Rgb(l, 255, 0, 0), Rgb(l, 0, 0, 255), Rgb(l, 255, 255, 255)};
    Picture src = Source(l, 0);
    Rng rng{99};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            src.Set(x, y, palette[rng.Next() % 4]);
    const Picture out = RunScale2x(src);
    for (int y = 0; y < kOutH; ++y)
        for (int x = 0; x < kOutW; ++x)
            ASSERT_EQ(out.Get(x, y), ReferenceScale2x(src, x, y)) << "at " << x << "," << y;
}

// ---- Smoothing ----

TEST(SmoothMask, ClearsTheLowestBitOfEachComponentWithinThePixel)
{
    EXPECT_EQ(SmoothMask(11, 5, 0, 2), 0xF7DEu);
    EXPECT_EQ(SmoothMask(10, 5, 0, 2), 0xFBDEu); // 555
    EXPECT_EQ(SmoothMask(16, 8, 0, 3), 0xFEFEFEu);
    EXPECT_EQ(SmoothMask(0, 8, 16, 3), 0xFEFEFEu);
}

TEST_P(ScalerLayouts, SmoothingBufferHoldsValueAndMaskedValueOfEveryPixel)
{
    const Layout l = GetParam();
    Picture src = Source(l, 0);
    Rng rng{11};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            src.Set(x, y, rng.Next() & (l.bpp == 2 ? 0xFFFF : 0xFFFFFF));
    std::vector<uint32_t> buffer(kSmoothBufferWords, 0xDEADBEEF);
    Picture out = Output(l);
    ScaleSmooth(src.bytes.data(), src.pitch, out.bytes.data(), out.pitch, l.bpp, Mask(l), buffer.data());
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const int i = y * kW + x;
            ASSERT_EQ(buffer[2 * i], src.Get(x, y)) << "at " << x << "," << y;
            ASSERT_EQ(buffer[2 * i + 1], src.Get(x, y) & Mask(l)) << "at " << x << "," << y;
        }
}

TEST_P(ScalerLayouts, SmoothingUniformScreenCopiesAndAveragesWithLowBitsCleared)
{
    const Layout l = GetParam();
    const uint32_t c = Rgb(l, 255, 255, 255);
    const uint32_t averaged = c & Mask(l);
    ASSERT_NE(c, averaged);
    const Picture out = RunSmooth(l, Source(l, c));
    for (int y = 0; y < kOutH; ++y)
        for (int x = 0; x < kOutW; ++x) {
            // Copied: even columns of even rows (and row 478, a repeat of 479), and
            // columns 638/639 everywhere.
            const bool evenRow = y % 2 == 0 || y == kOutH - 1;
            const bool copied = x >= kOutW - 2 || (evenRow && x % 2 == 0);
            ASSERT_EQ(out.Get(x, y), copied ? c : averaged) << "at " << x << "," << y;
        }
    EXPECT_TRUE(out.PaddingIntact());
}

TEST_P(ScalerLayouts, SmoothingNeverCarriesBetweenComponents)
{
    const Layout l = GetParam();
    const uint32_t red = Rgb(l, 255, 0, 0);
    const uint32_t blue = Rgb(l, 0, 0, 255);
    Picture src = Source(l, red);
    for (int y = 0; y < kH; ++y)
        for (int x = 1; x < kW; x += 2)
            src.Set(x, y, blue);
    const Picture out = RunSmooth(l, src);
    // Between red (x = 10) and blue (x = 11) on an even row.
    const uint32_t mid = out.Get(21, 40);
    EXPECT_EQ(Component(mid, l.gShift, l.gBits), 0);
    EXPECT_EQ(Component(mid, l.rShift, l.rBits), (1 << (l.rBits - 1)) - 1);
    EXPECT_EQ(Component(mid, l.bShift, l.bBits), (1 << (l.bBits - 1)) - 1);
    // Copied pixels stay pure.
    EXPECT_EQ(out.Get(20, 40), red);
    EXPECT_EQ(out.Get(22, 40), blue);
}

TEST_P(ScalerLayouts, SmoothingAveragesTheRightNeighbours)
{
    const Layout l = GetParam();
    // Distinct values whose low component bits are clear, so averages are exact.
    Picture src = Source(l, 0);
    auto value = [&](int x, int y) { return Rgb(l, (x * 8) & 0xF0, (y * 4) & 0xF0, ((x + y) * 8) & 0xF0); };
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            src.Set(x, y, value(x, y));
    const Picture out = RunSmooth(l, src);
    auto avg = [&](uint32_t a, uint32_t b) { return ((a & Mask(l)) + (b & Mask(l))) >> 1; };
    for (int y = 0; y < kH - 1; ++y)
        for (int x = 0; x < kW - 1; ++x) {
            ASSERT_EQ(out.Get(2 * x, 2 * y), value(x, y));
            ASSERT_EQ(out.Get(2 * x + 1, 2 * y), avg(value(x, y), value(x + 1, y)));
            ASSERT_EQ(out.Get(2 * x, 2 * y + 1), avg(value(x, y), value(x, y + 1)));
            ASSERT_EQ(out.Get(2 * x + 1, 2 * y + 1), avg(value(x, y + 1), value(x + 1, y)));
        }
    for (int y = 0; y < kH - 1; ++y) {
        EXPECT_EQ(out.Get(kOutW - 2, 2 * y), value(kW - 1, y));
        EXPECT_EQ(out.Get(kOutW - 2, 2 * y + 1), value(kW - 1, y + 1));
    }
    for (int x = 0; x < kW - 1; ++x) {
        ASSERT_EQ(out.Get(2 * x, kOutH - 1), value(x, kH - 1));
        ASSERT_EQ(out.Get(2 * x + 1, kOutH - 1), avg(value(x, kH - 1), value(x + 1, kH - 1)));
    }
}

// The rule leaves column 639 and row 478 unwritten; we repeat column 638 and row 479.
TEST_P(ScalerLayouts, SmoothingFillsLastColumnAndRow478FromNeighbours)
{
    const Layout l = GetParam();
    Picture src = Source(l, 0);
    Rng rng{3};
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            src.Set(x, y, rng.Next() & (l.bpp == 2 ? 0xFFFF : 0xFFFFFF));
    const Picture out = RunSmooth(l, src);
    for (int y = 0; y < kOutH; ++y)
        ASSERT_EQ(out.Get(kOutW - 1, y), out.Get(kOutW - 2, y)) << "row " << y;
    for (int x = 0; x < kOutW; ++x)
        ASSERT_EQ(out.Get(x, kOutH - 2), out.Get(x, kOutH - 1)) << "column " << x;
    // Every pixel is written: an output that started with other contents comes out the same.
    std::vector<uint32_t> buffer(kSmoothBufferWords);
    Picture other = Output(l);
    std::fill(other.bytes.begin(), other.bytes.end(), uint8_t{0x5A});
    ScaleSmooth(src.bytes.data(), src.pitch, other.bytes.data(), other.pitch, l.bpp, Mask(l), buffer.data());
    for (int y = 0; y < kOutH; ++y)
        for (int x = 0; x < kOutW; ++x)
            ASSERT_EQ(out.Get(x, y), other.Get(x, y)) << "at " << x << "," << y;
}

INSTANTIATE_TEST_SUITE_P(Layouts, ScalerLayouts, ::testing::Values(k565, k888),
                         [](const ::testing::TestParamInfo<Layout>& info) { return std::string(info.param.name); });

} // namespace
