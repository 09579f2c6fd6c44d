// Opening the software display modes and presenting through them, under the dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/display.h"
#include "platform/scalers.h"

namespace {

// Video is opened per test and closed again, so each test sees a fresh mode.
class Display : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError(); }
    void TearDown() override
    {
        CloseDisplay();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
};

DisplayConfig Config(int fullscreen, int zoom, int smooth, int scale2x, int depth)
{
    DisplayConfig c;
    c.fullscreen = fullscreen;
    c.zoom = zoom;
    c.smooth = smooth;
    c.scale2x = scale2x;
    c.opengl = 0;
    c.hd = 0;
    c.depth = depth;
    return c;
}

uint32_t GetPixel(const SDL_Surface* s, int x, int y)
{
    uint32_t v = 0;
    const int bpp = s->format->BytesPerPixel;
    std::memcpy(&v, static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * bpp, bpp);
    return v;
}

void SetPixel(SDL_Surface* s, int x, int y, uint32_t v)
{
    const int bpp = s->format->BytesPerPixel;
    std::memcpy(static_cast<uint8_t*>(s->pixels) + y * s->pitch + x * bpp, &v, bpp);
}

// A picture on which plain doubling, Scale2x and smoothing all give different results:
// a one-pixel diagonal and a two-colour checker patch on a coloured background.
void DrawTestPicture()
{
    SDL_Surface* s = screenSurface;
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, 40, 80, 160));
    const uint32_t white = SDL_MapRGB(s->format, 255, 255, 255);
    const uint32_t red = SDL_MapRGB(s->format, 255, 0, 0);
    SDL_LockSurface(s);
    for (int i = 0; i < 200; ++i)
        SetPixel(s, i + 60, i + 20, white);
    for (int y = 100; y < 140; ++y)
        for (int x = 10; x < 50; ++x)
            SetPixel(s, x, y, (x + y) % 2 ? red : white);
    SDL_UnlockSurface(s);
}

enum class Pass { Plain, Scale2x, Smooth };

// What the given pass makes of the current screenSurface, in a packed 640x480 picture.
std::vector<uint8_t> Expected(Pass pass)
{
    const SDL_PixelFormat* f = screenSurface->format;
    const int bpp = f->BytesPerPixel;
    std::vector<uint8_t> out(kDoubledWidth * kDoubledHeight * bpp);
    const auto* src = static_cast<const uint8_t*>(screenSurface->pixels);
    const int dstPitch = kDoubledWidth * bpp;
    if (pass == Pass::Plain) {
        ScalePlain(src, screenSurface->pitch, out.data(), dstPitch, bpp);
    } else if (pass == Pass::Scale2x) {
        Scale2x(src, screenSurface->pitch, out.data(), dstPitch, bpp);
    } else {
        std::vector<uint32_t> buffer(kSmoothBufferWords);
        ScaleSmooth(src, screenSurface->pitch, out.data(), dstPitch, bpp, SmoothMask(f->Rshift, f->Gshift, f->Bshift, bpp),
                    buffer.data());
    }
    return out;
}

bool DisplayShows(const std::vector<uint8_t>& picture)
{
    const int bpp = displaySurface->format->BytesPerPixel;
    const auto* d = static_cast<const uint8_t*>(displaySurface->pixels);
    for (int y = 0; y < kDoubledHeight; ++y)
        if (std::memcmp(d + y * displaySurface->pitch, &picture[y * kDoubledWidth * bpp], kDoubledWidth * bpp) != 0)
            return false;
    return true;
}

void ExpectPresentUses(Pass pass)
{
    DrawTestPicture();
    const std::vector<uint8_t> plain = Expected(Pass::Plain);
    const std::vector<uint8_t> scale2x = Expected(Pass::Scale2x);
    const std::vector<uint8_t> smooth = Expected(Pass::Smooth);
    ASSERT_NE(plain, scale2x);
    ASSERT_NE(plain, smooth);
    ASSERT_NE(scale2x, smooth);
    PresentScreen();
    SDL_LockSurface(displaySurface);
    EXPECT_EQ(DisplayShows(plain), pass == Pass::Plain);
    EXPECT_EQ(DisplayShows(scale2x), pass == Pass::Scale2x);
    EXPECT_EQ(DisplayShows(smooth), pass == Pass::Smooth);
    SDL_UnlockSurface(displaySurface);
}

class DisplayDepth : public Display, public ::testing::WithParamInterface<int> {};

TEST_P(DisplayDepth, WindowAtOneToOneDrawsIntoTheVideoSurface)
{
    const int depth = GetParam();
    // Smoothing, Scale2x and OpenGL have no effect in the 1x window.
    DisplayConfig c = Config(0, 0, 1, 1, depth);
    c.opengl = 1;
    OpenDisplay(c);
    ASSERT_NE(screenSurface, nullptr);
    EXPECT_EQ(displaySurface, nullptr);
    EXPECT_EQ(screenSurface, SDL_GetVideoSurface());
    EXPECT_EQ(screenSurface->w, kScreenWidth);
    EXPECT_EQ(screenSurface->h, kScreenHeight);
    EXPECT_EQ(screenSurface->format->BitsPerPixel, depth);
    EXPECT_EQ(smoothBuffer, nullptr);
    PresentScreen();
}

TEST_P(DisplayDepth, DoublingGivesScreenTheVideoFormat)
{
    const int depth = GetParam();
    OpenDisplay(Config(0, 1, 0, 0, depth));
    ASSERT_NE(displaySurface, nullptr);
    ASSERT_NE(screenSurface, nullptr);
    EXPECT_EQ(displaySurface, SDL_GetVideoSurface());
    EXPECT_EQ(displaySurface->w, kDoubledWidth);
    EXPECT_EQ(displaySurface->h, kDoubledHeight);
    EXPECT_EQ(displaySurface->format->BitsPerPixel, depth);
    EXPECT_EQ(screenSurface->w, kScreenWidth);
    EXPECT_EQ(screenSurface->h, kScreenHeight);
    const SDL_PixelFormat* s = screenSurface->format;
    const SDL_PixelFormat* d = displaySurface->format;
    EXPECT_EQ(s->BitsPerPixel, d->BitsPerPixel);
    EXPECT_EQ(s->BytesPerPixel, depth / 8);
    EXPECT_EQ(s->Rmask, d->Rmask);
    EXPECT_EQ(s->Gmask, d->Gmask);
    EXPECT_EQ(s->Bmask, d->Bmask);
    EXPECT_EQ(s->Amask, d->Amask);
    EXPECT_EQ(smoothBuffer, nullptr);
    ExpectPresentUses(Pass::Plain);
}

TEST_P(DisplayDepth, Scale2xModePresentsWithScale2x)
{
    OpenDisplay(Config(0, 1, 0, 1, GetParam()));
    EXPECT_EQ(smoothBuffer, nullptr);
    ExpectPresentUses(Pass::Scale2x);
}

TEST_P(DisplayDepth, SmoothingModeAllocatesItsBufferAndWinsOverScale2x)
{
    OpenDisplay(Config(0, 1, 1, 1, GetParam()));
    EXPECT_NE(smoothBuffer, nullptr);
    ExpectPresentUses(Pass::Smooth);
    CloseDisplay();
    EXPECT_EQ(smoothBuffer, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Depths, DisplayDepth, ::testing::Values(16, 24),
                         [](const ::testing::TestParamInfo<int>& info) { return "Bits" + std::to_string(info.param); });

} // namespace
