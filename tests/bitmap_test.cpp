// Loading pictures from a gfx archive: keys, tile cutting, water frames and fonts.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "assets/bitmap.h"
#include "assets/fonts.h"
#include "assets/tile_images.h"
#include "core/messages.h"
#include "platform/draw.h"
#include "test_screen.h"

using namespace testscreen;

namespace {

// Sheet pixel (x, y): red tells the cell column, green the cell row, blue the x inside the cell. The
// water strip has a see-through pixel in every cell, so every water frame needs its key (an opaque
// one at 16 bits goes without).
Rgb SheetColour(int x, int y)
{
    if (y == kWaterStripY && x % 16 == 0)
        return {255, 0, 255};
    return {(x / 16) * 12, (y / 16) * 20, (x % 16) * 16};
}

// A picture with a magenta square in its top-left 2x2 corner, grey elsewhere.
Rgb CorneredColour(int x, int y)
{
    return x < 2 && y < 2 ? Rgb{255, 0, 255} : Rgb{90, 90, 90};
}

// The key a surface is drawn with, or a value no colour has when it has none.
Uint32 KeyedColour(SDL_Surface* s)
{
    return (s->flags & SDL_SRCCOLORKEY) ? s->format->colorkey : ~0u;
}

Rgb GlyphStripe(int x, int)
{
    return {(x / 8) * 16, 0, 0};
}

class BitmapTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        OpenScreen(GetParam());
        archive = ScratchPath("gfx.zda");
        WriteArchive(archive, {
                                  {"blocks.bmp", BmpBytes(MakePicture(320, 192, SheetColour))},
                                  {"cornered.bmp", BmpBytes(MakePicture(5, 4, CorneredColour))},
                                  {"font.bmp", BmpBytes(MakePicture(8 * 10, 8, GlyphStripe))},
                              });
        OpenArchiveFile(ArchiveGfx, archive.c_str());
    }
    void TearDown() override
    {
        FreeTileImages();
        CloseArchives();
        std::remove(archive.c_str());
        CloseScreen();
    }
    std::string archive;
};

TEST_P(BitmapTest, TilesComeFromTheirSheetCells)
{
    LoadTileImages();
    struct Cell {
        int tile, x, y;
    };
    for (const Cell& c : {Cell{0, 0, 0}, Cell{19, 304, 0}, Cell{20, 0, 16}, Cell{239, 304, 176}}) {
        SDL_Surface* t = tileImages[c.tile];
        ASSERT_NE(t, nullptr) << c.tile;
        EXPECT_EQ(t->w, 16);
        EXPECT_EQ(t->h, 16);
        for (int p : {0, 7, 15})
            EXPECT_EQ(Pixel(t, p, 15 - p), Stored(SheetColour(c.x + p, c.y + 15 - p))) << "tile " << c.tile;
    }
    for (SDL_Surface* t : tileImages)
        ASSERT_NE(t, nullptr);
    for (auto& pair : waterFrames)
        for (SDL_Surface* frame : pair)
            EXPECT_EQ(KeyedColour(frame), SDL_MapRGB(frame->format, 255, 0, 255)) << "water lets the stage through";
}

// A water pair shows the two-cell strip from its offset on, its second frame a cell further on,
// wrapping round to the strip's start.
TEST_P(BitmapTest, WaterFramesScrollTheStripFromTheirOffset)
{
    SDL_Surface* sheet = LoadBitmap("blocks", false);
    constexpr int kStripWidth = 32;
    for (int r : {0, 6, kWaterOffsets - 1}) {
        SDL_Surface* pair[2];
        MakeWaterPair(sheet, r, pair);
        for (int f = 0; f < 2; ++f)
            for (int x : {0, 9, 15})
                EXPECT_EQ(Pixel(pair[f], x, 3), Stored(SheetColour((r + f * 16 + x) % kStripWidth, kWaterStripY + 3)))
                    << "offset " << r << " frame " << f << " x " << x;
        FreeSurface(pair[0]);
        FreeSurface(pair[1]);
    }
    FreeSurface(sheet);
}

// Depths SDL decodes pass the header check, any other is refused before it.
TEST(BitmapHeader, AcceptsTheDepthsSdlDecodes)
{
    std::vector<uint8_t> bmp = BmpBytes(MakePicture(2, 2, CorneredColour));
    constexpr size_t kDepthField = 28;
    for (auto [depth, accepted] : {std::pair{1, true}, {2, false}, {4, true}, {8, true}, {15, false}, {16, true},
                                   {24, true}, {32, true}, {48, false}}) {
        bmp[kDepthField] = static_cast<uint8_t>(depth);
        EXPECT_EQ(BitmapHeaderProblem(bmp.data(), bmp.size()).empty(), accepted) << depth << " bits";
    }
}

// The fonts and the tile sheet the build packs, as the game loads them.
class BuiltPicturesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenScreen(16);
        OpenArchiveFile(ArchiveGfx, FRIBB3_BINARY_DIR "/data/gfx.zda");
    }
    void TearDown() override
    {
        FreeFonts();
        FreeTileImages();
        CloseArchives();
        CloseScreen();
    }
};

int Glyphs(Font font)
{
    int n = 0;
    while (font[n])
        ++n;
    return n;
}

TEST_F(BuiltPicturesTest, FontsHoldEveryCharacterOfTheMessages)
{
    LoadFonts();
    EXPECT_EQ(GlyphWidth(smallFont), 8);
    EXPECT_EQ(GlyphWidth(bigFont), 16);
    int highest = ' ';
    for (int id = 0; id < kTextCount; ++id)
        for (const char* p = GetText(id); *p; ++p)
            highest = std::max(highest, static_cast<int>(static_cast<unsigned char>(*p)));
    EXPECT_GT(Glyphs(smallFont), highest - 32);
    EXPECT_GT(Glyphs(bigFont), highest - 32);
}

INSTANTIATE_TEST_SUITE_P(Depths, BitmapTest, ::testing::Values(16, 24),
                         [](const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param) + "bit"; });

} // namespace
