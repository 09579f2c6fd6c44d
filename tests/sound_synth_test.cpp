// The effect synthesiser: recipe parsing and its errors, rendering (length, pitch, glide,
// placement, normalisation, loudness target, fades, seeded noise) and the tools' WAV format.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "loudness.h"
#include "sfx_recipe.h"
#include "sfx_render.h"
#include "wav_file.h"

namespace {

SfxRecipe Parse(const std::string& text)
{
    SfxRecipe r;
    std::string error;
    EXPECT_TRUE(ParseRecipe(text, r, error)) << error;
    return r;
}

std::string ParseError(const std::string& text)
{
    SfxRecipe r;
    std::string error;
    EXPECT_FALSE(ParseRecipe(text, r, error)) << text;
    return error;
}

// Upward zero crossings between two sample indices: a tone's cycles in that stretch.
int Crossings(const std::vector<int16_t>& s, size_t from, size_t to)
{
    int n = 0;
    for (size_t i = from + 1; i < to && i < s.size(); ++i)
        n += s[i - 1] < 0 && s[i] >= 0;
    return n;
}

TEST(SfxRecipeTest, ReadsGlobalsLayersAndComments)
{
    const SfxRecipe r = Parse("# a test\nlength 0.5\npeak 0.4   # quiet\nfade 8\n\n"
                              "layer\nwave square\nduty 0.25\nfreq 200 800\nglide lin\nvibrato 6 0.02\n"
                              "layer\nwave noise\nstart 0.1\nlength 0.2\nseed 9\nlowpass 3000\n");
    EXPECT_DOUBLE_EQ(r.length, 0.5);
    EXPECT_DOUBLE_EQ(r.peak, 0.4);
    EXPECT_DOUBLE_EQ(r.fadeMs, 8.0);
    ASSERT_EQ(r.layers.size(), 2u);
    EXPECT_EQ(r.layers[0].wave, Wave::Square);
    EXPECT_DOUBLE_EQ(r.layers[0].duty, 0.25);
    EXPECT_DOUBLE_EQ(r.layers[0].freqStart, 200.0);
    EXPECT_DOUBLE_EQ(r.layers[0].freqEnd, 800.0);
    EXPECT_EQ(r.layers[0].glide, Glide::Linear);
    EXPECT_DOUBLE_EQ(r.layers[0].vibratoDepth, 0.02);
    EXPECT_EQ(r.layers[1].wave, Wave::Noise);
    EXPECT_DOUBLE_EQ(r.layers[1].start, 0.1);
    EXPECT_EQ(r.layers[1].seed, 9u);
    // A single frequency holds its pitch.
    EXPECT_DOUBLE_EQ(Parse("layer\nfreq 300\n").layers[0].freqEnd, 300.0);
}

TEST(SfxRecipeTest, MistakesAreReportedWithTheirLine)
{
    EXPECT_EQ(ParseError("length 0.2\nlayer\nwave sine\nwobble 3\n"),
              "line 4: unknown or malformed layer setting 'wobble'");
    EXPECT_EQ(ParseError("layer\nfreq 4x0\n"), "line 2: '4x0' is not a number");
    EXPECT_EQ(ParseError("layer\nwave organ\n"), "line 2: wave must be sine, square, triangle, saw or noise");
    EXPECT_EQ(ParseError("duty 0.5\nlayer\n"), "line 1: unknown or malformed setting 'duty' before the first layer");
    EXPECT_EQ(ParseError("layer\nvibrato 5\n"), "line 2: vibrato takes a rate and a depth");
    EXPECT_EQ(ParseError("length 0.2\n# nothing else\n"), "line 2: a recipe needs at least one layer");
    EXPECT_NE(ParseError("peak 1.5\nlayer\n").find("peak"), std::string::npos);
    EXPECT_NE(ParseError("layer\nfreq 0\n").find("frequency"), std::string::npos);
    EXPECT_NE(ParseError("layer\nlength -1\n").find("length"), std::string::npos);
}

TEST(SfxRenderTest, LengthPeakAndSilentEnds)
{
    const std::vector<int16_t> s = RenderRecipe(Parse("length 0.3\npeak 0.5\nlayer\nwave saw\nlength 0.3\nfreq 440\n"));
    ASSERT_EQ(s.size(), static_cast<size_t>(0.3 * kSfxRate + 0.5));
    int peak = 0;
    for (int16_t v : s)
        peak = std::max(peak, std::abs(static_cast<int>(v)));
    EXPECT_NEAR(peak, 0.5 * 32767, 1.0);
    EXPECT_EQ(s.front(), 0);
    EXPECT_EQ(s.back(), 0);
    // The fade (2 ms at least) keeps the first samples well under the peak.
    for (int i = 0; i < 10; ++i)
        EXPECT_LT(std::abs(s[i]), peak / 4) << i;
}

TEST(SfxRenderTest, PitchAndExponentialGlide)
{
    const std::vector<int16_t> steady = RenderRecipe(Parse("length 1\nlayer\nlength 1\nfreq 1000\n"));
    EXPECT_NEAR(Crossings(steady, 0, steady.size()), 1000, 3);

    // 200 Hz to 800 Hz over one second passes 400 Hz (not 500) at the half.
    const std::vector<int16_t> glide = RenderRecipe(Parse("length 1\nlayer\nlength 1\nfreq 200 800\n"));
    const size_t tenth = kSfxRate / 10;
    EXPECT_NEAR(Crossings(glide, kSfxRate / 2 - tenth / 2, kSfxRate / 2 + tenth / 2), 40, 2);
    EXPECT_NEAR(Crossings(glide, 0, tenth), 21, 2);
    const std::vector<int16_t> linear = RenderRecipe(Parse("length 1\nlayer\nlength 1\nfreq 200 800\nglide lin\n"));
    EXPECT_NEAR(Crossings(linear, kSfxRate / 2 - tenth / 2, kSfxRate / 2 + tenth / 2), 50, 2);
}

TEST(SfxRenderTest, LayersSitWhereTheyStartAndEndWhereTheyStop)
{
    const std::vector<int16_t> s =
        RenderRecipe(Parse("length 0.5\nlayer\nstart 0.2\nlength 0.1\nfreq 500\nrelease 0.01\n"));
    auto loudest = [&](double from, double to) {
        int m = 0;
        for (size_t i = static_cast<size_t>(from * kSfxRate); i < static_cast<size_t>(to * kSfxRate); ++i)
            m = std::max(m, std::abs(static_cast<int>(s[i])));
        return m;
    };
    EXPECT_EQ(loudest(0.0, 0.199), 0);
    EXPECT_GT(loudest(0.21, 0.29), 20000);
    EXPECT_LT(loudest(0.301, 0.5), 400) << "only the filter's settling after the layer";
}

TEST(SfxRenderTest, NoiseIsSeededAndRepeatable)
{
    const std::string base = "length 0.2\nlayer\nwave noise\nlength 0.2\nfreq 22050\nseed ";
    const std::vector<int16_t> a = RenderRecipe(Parse(base + "5\n"));
    EXPECT_EQ(a, RenderRecipe(Parse(base + "5\n")));
    EXPECT_NE(a, RenderRecipe(Parse(base + "6\n")));
}

// The one WAV format of the tools: a canonical header, and what it writes reads back.
TEST(WavFileTest, WritesAPlainPcmHeaderAndReadsItBack)
{
    const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32767, 5};
    const std::vector<uint8_t> b = EncodeWav(samples, 2, kSfxRate);
    ASSERT_EQ(b.size(), 44u + 12u);
    auto le32 = [&](size_t at) {
        return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
    };
    auto le16 = [&](size_t at) { return static_cast<int>(b[at] | b[at + 1] << 8); };
    EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
    EXPECT_EQ(le32(4), 36u + 12u);
    EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(le16(20), 1); // PCM
    EXPECT_EQ(le16(22), 2); // stereo
    EXPECT_EQ(le32(24), 22050u);
    EXPECT_EQ(le32(28), 88200u);
    EXPECT_EQ(le16(32), 4);
    EXPECT_EQ(le16(34), 16);
    EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
    EXPECT_EQ(le32(40), 12u);
    WavAudio back;
    ASSERT_TRUE(DecodeWav(b.data(), b.size(), back));
    EXPECT_EQ(back.rate, kSfxRate);
    EXPECT_EQ(back.channels, 2);
    EXPECT_EQ(back.samples, samples);
    EXPECT_FALSE(DecodeWav(b.data(), b.size() - 2, back)) << "truncated data chunk";
    EXPECT_FALSE(WriteWav("/nonexistent-dir/x.wav", samples, 1, kSfxRate));
}

// A loudness target brings the loudest 100 ms there, however quiet the layers are, and the
// limiter keeps the peak under the ceiling even when that takes squeezing.
TEST(SfxRenderTest, LoudnessTargetIsMetWithThePeakHeld)
{
    for (const char* recipe : {"loudness -6\npeak 0.9\nlayer\nfreq 300\nlength 0.2\ngain 0.01\n",
                               "loudness -3\npeak 0.8\nlayer\nwave noise\nfreq 20000\nlength 0.2\n"}) {
        SCOPED_TRACE(recipe);
        const std::vector<int16_t> s = RenderRecipe(Parse(recipe));
        std::vector<double> power = KWeightedPower(ToFloat(s), 1, kSfxRate);
        for (double& p : power)
            p *= 2.0; // both channels
        EXPECT_NEAR(LoudestWindowLoudness(power, kSfxRate, 0.1), Parse(recipe).loudness, 0.1);
        int peak = 0;
        for (int16_t v : s)
            peak = std::max(peak, std::abs(static_cast<int>(v)));
        EXPECT_LE(peak, Parse(recipe).peak * 32767 + 1);
    }
    EXPECT_NE(ParseError("loudness 3\nlayer\n").find("loudness"), std::string::npos);
}

} // namespace
