// Drawing primitives, bitmap text and the tile blitters, on 16- and 24-bit screens.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "assets/tile_images.h"
#include "platform/draw.h"
#include "test_screen.h"

using namespace testscreen;

namespace {

const Rgb kBlack{0, 0, 0};
const Rgb kMagenta{255, 0, 255};

// Glyph i of the hand-made fonts is one flat colour; the space (glyph 0) is all magenta.
Rgb GlyphColour(int glyph)
{
    if (glyph == 0)
        return kMagenta;
    return {(glyph % 32) * 8, (glyph / 32) * 128 + 64, 96};
}

Rgb CharColour(char c)
{
    return GlyphColour(c - 32);
}

// Characters 32..95 in one row of cells.
constexpr int kGlyphs = 64;

Font MakeFont(int cell)
{
    SDL_Surface* image = MakePicture(cell * kGlyphs, cell, [cell](int x, int) { return GlyphColour(x / cell); });
    Font font = CutSheet(image, cell, cell);
    SDL_FreeSurface(image);
    return font;
}

// Tile image n is a flat colour; the whole set tells codes apart in both depths.
Rgb TileColour(int n)
{
    return {(n % 16) * 16, (n / 16) * 16, 200};
}

class DrawTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        OpenScreen(GetParam());
        small = MakeFont(8);
        big = MakeFont(16);
        ClearScreen();
    }
    void TearDown() override
    {
        FreeFont(small);
        FreeFont(big);
        FreeTileImages();
        FreeSurface(dimOverlay);
        dimOverlay = nullptr;
        CloseScreen();
    }
    void MakeFlatTiles()
    {
        for (int n = 0; n < kTileCodeCount; ++n) {
            tileImages[n] = CreateSurface(16, 16, true);
            Rgb c = TileColour(n);
            FillRect(tileImages[n], 0, 0, 16, 16, SDL_MapRGB(screenSurface->format, c.r, c.g, c.b));
            SetColourKey(tileImages[n], 255, 0, 255);
        }
    }
    // Checks that pixels x0..x1 (inclusive) of row y show character c.
    void ExpectRun(int x0, int x1, int y, Rgb colour)
    {
        EXPECT_EQ(ScreenPixel(x0, y), Stored(colour)) << "x " << x0;
        EXPECT_EQ(ScreenPixel(x1, y), Stored(colour)) << "x " << x1;
    }
    Font small = nullptr;
    Font big = nullptr;
};

TEST_P(DrawTest, CentredTextStartsAtHalfGlyphTimesLength)
{
    DrawTextCentred(screenSurface, "AAAAA", 10, small);
    EXPECT_EQ(ScreenPixel(139, 10), kBlack);
    ExpectRun(140, 179, 10, CharColour('A'));
    EXPECT_EQ(ScreenPixel(180, 10), kBlack);

    DrawTextCentred(screenSurface, "AAAAA", 40, big);
    EXPECT_EQ(ScreenPixel(119, 40), kBlack);
    ExpectRun(120, 199, 55, CharColour('A'));
    EXPECT_EQ(ScreenPixel(200, 40), kBlack);
}

TEST_P(DrawTest, NumberWithLeadingZerosFillsTheField)
{
    DrawNumber(screenSurface, 7, 100, 0, 4, true, small);
    ExpectRun(100, 123, 0, CharColour('0'));
    ExpectRun(124, 131, 0, CharColour('7'));
    EXPECT_EQ(ScreenPixel(99, 0), kBlack);
    EXPECT_EQ(ScreenPixel(132, 0), kBlack);
}

TEST_P(DrawTest, ClippedTileWindow)
{
    MakeFlatTiles();
    const int cam = 100;
    const Rgb five = Stored(TileColour(5));
    // Leftmost visible column: screen x -15 is drawn, its last pixel column shows.
    DrawTileClipped(cam, cam - 15, 50, 5);
    EXPECT_EQ(ScreenPixel(0, 50), five);
    EXPECT_EQ(ScreenPixel(1, 50), kBlack);
    // Right edge: screen x 319 is drawn.
    DrawTileClipped(cam, cam + 319, 50, 5);
    EXPECT_EQ(ScreenPixel(319, 50), five);
    // Bottom: y 191 is drawn, y 192 (on the HUD strip) is not.
    DrawTileClipped(cam, cam + 40, 191, 5);
    EXPECT_EQ(ScreenPixel(40, 191), five);
    EXPECT_EQ(ScreenPixel(40, 192), five); // the y-191 tile reaches into the HUD
    ClearScreen();
    DrawTileClipped(cam, cam + 40, 192, 5);
    EXPECT_EQ(ScreenPixel(40, 192), kBlack);
    // Top: y -15 is drawn, y -16 is not (nothing would show anyway).
    DrawTileClipped(cam, cam + 80, -15, 5);
    EXPECT_EQ(ScreenPixel(80, 0), five);
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawTest, ::testing::Values(16, 24),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "bit"; });

} // namespace
