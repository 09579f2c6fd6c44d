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

TEST_P(DrawTest, FillRectAndBlitAtPlaceExactly)
{
    SDL_Surface* s = CreateSurface(4, 3, false);
    FillRect(s, 1, 1, 2, 1, SDL_MapRGB(s->format, 255, 255, 255));
    EXPECT_EQ(Pixel(s, 0, 1), kBlack);
    EXPECT_EQ(Pixel(s, 1, 1), (Rgb{255, 255, 255}));
    EXPECT_EQ(Pixel(s, 2, 1), (Rgb{255, 255, 255}));
    EXPECT_EQ(Pixel(s, 3, 1), kBlack);
    EXPECT_EQ(Pixel(s, 1, 2), kBlack);
    BlitAt(s, 50, 60, screenSurface);
    EXPECT_EQ(ScreenPixel(51, 61), (Rgb{255, 255, 255}));
    EXPECT_EQ(ScreenPixel(50, 61), kBlack);
    FreeSurface(s);
}

TEST_P(DrawTest, DimScreenHalvesThePlayfieldOnly)
{
    CreateDimOverlay();
    ASSERT_NE(dimOverlay, nullptr);
    EXPECT_EQ(dimOverlay->w, 320);
    EXPECT_EQ(dimOverlay->h, 192);
    FillRect(screenSurface, 0, 0, 320, 240, SDL_MapRGB(screenSurface->format, 255, 255, 255));
    DimScreen();
    for (int y : {0, 191}) {
        Rgb p = ScreenPixel(160, y);
        EXPECT_NEAR(p.r, 127, 8) << "y " << y;
        EXPECT_NEAR(p.g, 127, 8) << "y " << y;
    }
    EXPECT_EQ(ScreenPixel(160, 192), (Rgb{255, 255, 255}));
    EXPECT_EQ(ScreenPixel(0, 239), (Rgb{255, 255, 255}));
}

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

TEST_P(DrawTest, TextNStopsAfterNCharactersOrAtTheEnd)
{
    DrawTextN(screenSurface, "ABC", 2, 0, 0, small);
    ExpectRun(0, 7, 0, CharColour('A'));
    ExpectRun(8, 15, 0, CharColour('B'));
    EXPECT_EQ(ScreenPixel(16, 0), kBlack);
    DrawTextN(screenSurface, "AB", 10, 0, 20, small);
    EXPECT_EQ(ScreenPixel(16, 20), kBlack);
}

TEST_P(DrawTest, CharactersOutsideTheFontTakeTheirPlaceButShowNothing)
{
    // 'a' (97) is past the last glyph (95), '\t' before the space.
    DrawText(screenSurface, "AaA\tA", 0, 0, small);
    ExpectRun(0, 7, 0, CharColour('A'));
    EXPECT_EQ(ScreenPixel(8, 0), kBlack);
    EXPECT_EQ(ScreenPixel(15, 7), kBlack);
    ExpectRun(16, 23, 0, CharColour('A'));
    EXPECT_EQ(ScreenPixel(24, 0), kBlack);
    ExpectRun(32, 39, 0, CharColour('A'));
    DrawText(screenSurface, "\xc8", 0, 20, small);
    EXPECT_EQ(ScreenPixel(0, 20), kBlack);
}

TEST_P(DrawTest, TextFarRightDoesNotWrapAround)
{
    // 65536 + 8 would land at x 8 once squeezed into SDL's 16-bit rectangle.
    DrawText(screenSurface, "AAAA", 65536 + 8, 0, small);
    DrawText(screenSurface, "A", 320, 0, small);
    for (int x = 0; x < 320; x += 4)
        ASSERT_EQ(ScreenPixel(x, 0), kBlack) << "x " << x;
}

TEST_P(DrawTest, NumberWithLeadingZerosFillsTheField)
{
    DrawNumber(screenSurface, 7, 100, 0, 4, true, small);
    ExpectRun(100, 123, 0, CharColour('0'));
    ExpectRun(124, 131, 0, CharColour('7'));
    EXPECT_EQ(ScreenPixel(99, 0), kBlack);
    EXPECT_EQ(ScreenPixel(132, 0), kBlack);
}

TEST_P(DrawTest, NumberLongerThanTheFieldSticksOutLeft)
{
    DrawNumber(screenSurface, 345, 100, 0, 2, true, small);
    EXPECT_EQ(ScreenPixel(91, 0), kBlack);
    ExpectRun(92, 99, 0, CharColour('3'));
    ExpectRun(100, 107, 0, CharColour('4'));
    ExpectRun(108, 115, 0, CharColour('5'));
    EXPECT_EQ(ScreenPixel(116, 0), kBlack);
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

TEST_P(DrawTest, TileCodesOutsideTheImagesAreIgnored)
{
    MakeFlatTiles();
    DrawTileClipped(0, 0, 0, 240);
    DrawTileClipped(0, 0, 0, -1);
    DrawTileLoose(0, 0, 0, 0xF0);
    EXPECT_EQ(ScreenPixel(0, 0), kBlack);
}

TEST_P(DrawTest, CutSheetIgnoresPartialCells)
{
    SDL_Surface* image = MakePicture(100, 40, [](int x, int y) { return Rgb{x, y, 0}; });
    Font cells = CutSheet(image, 16, 16);
    SDL_FreeSurface(image);
    int n = 0;
    while (cells[n])
        ++n;
    EXPECT_EQ(n, 12); // 6 columns x 2 rows
    // Row-major: cell 7 is column 1 of row 1.
    EXPECT_EQ(Pixel(cells[7], 0, 0), Stored(16, 16, 0));
    EXPECT_EQ(Pixel(cells[5], 15, 15), Stored(95, 15, 0));
    FreeFont(cells);
    EXPECT_EQ(cells, nullptr);
}

bool HasKey(SDL_Surface* s)
{
    return (s->flags & SDL_SRCCOLORKEY) != 0;
}

TEST_P(DrawTest, ColourKeyKeptOnlyWhereItMatters)
{
    SDL_Surface* opaque = CreateSurface(16, 16, true);
    FillRect(opaque, 0, 0, 16, 16, SDL_MapRGB(opaque->format, 10, 200, 10));
    SetColourKey(opaque, 255, 0, 255);
    SDL_Surface* holed = CreateSurface(16, 16, true);
    FillRect(holed, 15, 15, 1, 1, SDL_MapRGB(holed->format, 255, 0, 255));
    SetColourKey(holed, 255, 0, 255);

    // 16-bit images without the key colour become plain copies; 24-bit ones keep the key.
    EXPECT_EQ(HasKey(opaque), GetParam() != 16);
    ASSERT_TRUE(HasKey(holed));
    EXPECT_EQ(holed->format->colorkey, SDL_MapRGB(holed->format, 255, 0, 255));

    FillRect(screenSurface, 0, 0, 320, 240, SDL_MapRGB(screenSurface->format, 0, 0, 255));
    BlitAt(holed, 0, 0, screenSurface);
    EXPECT_EQ(ScreenPixel(15, 15), Stored(0, 0, 255));
    EXPECT_EQ(ScreenPixel(14, 15), kBlack);
    FreeSurface(opaque);
    FreeSurface(holed);
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawTest, ::testing::Values(16, 24),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "bit"; });

} // namespace
