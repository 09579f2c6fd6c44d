// Test support for drawing tests: a headless logical screen of a chosen depth,
// colours as the screen stores them, and BMP pictures and gfx archives made in memory.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "assets/archive.h"
#include "assets/archive_format.h"
#include "platform/colors.h"
#include "platform/display.h"
#include "platform/screenshot.h"
#include "test_support.h"

namespace testscreen {

// An 8-bit-per-channel colour.
struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Rgb& c)
{
    return os << "(" << c.r << "," << c.g << "," << c.b << ")";
}

// Opens a 320x240 window-less screen of depth bits on the dummy video driver.
inline void OpenScreen(int depth)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_GE(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    DisplayConfig config;
    config.fullscreen = 0;
    config.zoom = 0;
    config.depth = depth;
    OpenDisplay(config);
    ASSERT_NE(screenSurface, nullptr);
    MapColors();
}

// Ends SDL so the next test starts from nothing.
inline void CloseScreen()
{
    SDL_Quit();
    screenSurface = nullptr;
}

// The colour (r, g, b) becomes once stored in the screen's format.
inline Rgb Stored(int r, int g, int b)
{
    Uint8 qr, qg, qb;
    SDL_GetRGB(SDL_MapRGB(screenSurface->format, r, g, b), screenSurface->format, &qr, &qg, &qb);
    return {qr, qg, qb};
}

inline Rgb Stored(Rgb c)
{
    return Stored(c.r, c.g, c.b);
}

inline Rgb Pixel(SDL_Surface* s, int x, int y)
{
    uint8_t r = 0, g = 0, b = 0;
    EXPECT_TRUE(ReadSurfacePixel(s, x, y, &r, &g, &b)) << "pixel " << x << "," << y << " outside";
    return {r, g, b};
}

inline Rgb ScreenPixel(int x, int y)
{
    return Pixel(screenSurface, x, y);
}

inline void ClearScreen()
{
    SDL_FillRect(screenSurface, nullptr, ColorBlack);
}

// A 24-bit software picture painted by colourOf(x, y).
template <typename F>
SDL_Surface* MakePicture(int w, int h, F colourOf)
{
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xff0000, 0x00ff00, 0x0000ff, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb c = colourOf(x, y);
            SDL_Rect r = {static_cast<Sint16>(x), static_cast<Sint16>(y), 1, 1};
            SDL_FillRect(s, &r, SDL_MapRGB(s->format, c.r, c.g, c.b));
        }
    return s;
}

// A unique scratch path for this process.
inline std::string ScratchPath(const std::string& leaf)
{
    return (std::filesystem::temp_directory_path() / ("fribb3-" + std::to_string(getpid()) + "-" + leaf)).string();
}

using testsupport::ReadBytes;

// The BMP file bytes of a picture (SDL's own encoder); frees the picture.
inline std::vector<uint8_t> BmpBytes(SDL_Surface* picture)
{
    const std::string path = ScratchPath("picture.bmp");
    EXPECT_EQ(SDL_SaveBMP(picture, path.c_str()), 0);
    SDL_FreeSurface(picture);
    std::vector<uint8_t> bytes = ReadBytes(path);
    std::remove(path.c_str());
    return bytes;
}

// Writes an archive holding the given entries to path.
inline void WriteArchive(const std::string& path, const std::vector<ArchiveInput>& entries)
{
    const std::vector<uint8_t> bytes = BuildArchive(entries);
    ASSERT_FALSE(bytes.empty());
    testsupport::WriteBytes(path, bytes);
}

} // namespace testscreen
