// The built gfx archive: every picture the game loads decodes with SDL and has the size its users need.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include "assets/archive.h"

namespace {

constexpr uint8_t kKeyR = 255, kKeyG = 0, kKeyB = 255;
constexpr int kScreenWidth = 320;
constexpr int kFirstMenuItemY = 104; // the logo must end above the main menu
constexpr int kGlyphCount = 64;      // ASCII 32..95
constexpr int kGlyphsPerRow = 16;

struct Picture {
    SDL_Surface* surface = nullptr;
    ~Picture()
    {
        if (surface)
            SDL_FreeSurface(surface);
    }
};

class GfxArchive : public ::testing::Test {
protected:
    static void SetUpTestSuite() { OpenArchiveFile(ArchiveGfx, FRIBB3_BINARY_DIR "/data/gfx.zda"); }
    static void TearDownTestSuite() { CloseArchives(); }

    // Reads and decodes entry name.bmp; fails the test when either step fails.
    static void Load(const char* name, Picture& out)
    {
        size_t size = 0;
        uint8_t* data = ReadArchiveEntry(ArchiveGfx, name, "bmp", &size);
        ASSERT_NE(data, nullptr) << "missing entry " << name << ".bmp";
        SDL_RWops* rw = SDL_RWFromMem(data, static_cast<int>(size));
        out.surface = SDL_LoadBMP_RW(rw, 0);
        SDL_RWclose(rw);
        std::free(data);
        ASSERT_NE(out.surface, nullptr) << name << ": " << SDL_GetError();
    }
};

// Colour of pixel (x, y) of a decoded picture.
void PixelRgb(SDL_Surface* s, int x, int y, uint8_t& r, uint8_t& g, uint8_t& b)
{
    SDL_LockSurface(s);
    const uint8_t* p = static_cast<const uint8_t*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    uint32_t value = 0;
    for (int i = 0; i < s->format->BytesPerPixel; ++i)
        value |= static_cast<uint32_t>(p[i]) << (8 * i); // little-endian pixel bytes
    SDL_UnlockSurface(s);
    SDL_GetRGB(value, s->format, &r, &g, &b);
}

bool IsKey(SDL_Surface* s, int x, int y)
{
    uint8_t r, g, b;
    PixelRgb(s, x, y, r, g, b);
    return r == kKeyR && g == kKeyG && b == kKeyB;
}

// Number of non-key pixels in the w x h rectangle at (x, y).
int InkIn(SDL_Surface* s, int x, int y, int w, int h)
{
    int ink = 0;
    for (int yy = y; yy < y + h; ++yy)
        for (int xx = x; xx < x + w; ++xx)
            ink += IsKey(s, xx, yy) ? 0 : 1;
    return ink;
}

bool HasKey(SDL_Surface* s)
{
    return InkIn(s, 0, 0, s->w, s->h) < s->w * s->h;
}

TEST_F(GfxArchive, TileSheetHoldsAll240TilesAndCodeZeroIsEmpty)
{
    Picture p;
    Load("blocks", p);
    ASSERT_EQ(p.surface->w, 320);
    ASSERT_GE(p.surface->h, 192);
    EXPECT_EQ(InkIn(p.surface, 0, 0, 16, 16), 0) << "code 0 must stay empty";
    // codes the game draws: hero, enemies, pick-ups, door, water surface, explosion
    for (int code : {0x01, 0x08, 0x18, 0x41, 0x44, 0x09, 0x0C, 0x0D, 0x10, 0x21, 0x25, 0x35, 0x38, 0x79,
                     0x7E, 0x8D, 0x90, 0x29, 0x2A, 0x1A, 0x89, 0x1B, 0x30, 0x26, 0x3B, 0x11, 0x13, 0x14,
                     0x16, 0x19, 0x28, 0x42, 0x45, 0x57, 0x69, 0x8C, 0x55, 0xA0, 0xA1, 184, 191, 199, 211,
                     215, 220, 222, 223, 230})
        EXPECT_GT(InkIn(p.surface, (code % 20) * 16, (code / 20) * 16, 16, 16), 0) << "tile " << code << " is empty";
}

TEST_F(GfxArchive, EverySolidAndFrontLayerCodeHasAPicture)
{
    Picture p;
    Load("blocks", p);
    ASSERT_EQ(p.surface->w, 320);
    const int solidRanges[][2] = {{0x14, 0x17}, {0x28, 0x28}, {0x2B, 0x2C}, {0x3F, 0x40}, {0x42, 0x42},
                                  {0x45, 0x45}, {0x4D, 0x50}, {0x5C, 0x5D}, {0x5F, 0x60}, {0x64, 0x64},
                                  {0x6E, 0x71}, {0x73, 0x74}, {0x78, 0x78}, {0x82, 0x88}, {0x96, 0x9A},
                                  {0xAA, 0xAC}, {0xB4, 0xB5}};
    const int frontRanges[][2] = {{0x51, 0x54}, {0x5E, 0x5E}, {0x61, 0x63}, {0x65, 0x68}, {0x6A, 0x6D},
                                  {0x72, 0x72}, {0x75, 0x77}, {0x7F, 0x81}, {0x93, 0x95}, {0x9B, 0x9D},
                                  {0xA7, 0xA8}, {0xAF, 0xB1}};
    for (const auto& r : solidRanges)
        for (int code = r[0]; code <= r[1]; ++code)
            EXPECT_GT(InkIn(p.surface, (code % 20) * 16, (code / 20) * 16, 16, 16), 0) << "solid " << code;
    for (const auto& r : frontRanges)
        for (int code = r[0]; code <= r[1]; ++code)
            EXPECT_GT(InkIn(p.surface, (code % 20) * 16, (code / 20) * 16, 16, 16), 0) << "front " << code;
}

void ExpectFont(SDL_Surface* s, int cell)
{
    ASSERT_EQ(s->w % cell, 0);
    ASSERT_GE(s->w / cell, kGlyphsPerRow) << "16 glyphs per row";
    const int columns = s->w / cell;
    ASSERT_GE(columns * (s->h / cell), kGlyphCount) << "ASCII 32..95";
    EXPECT_EQ(InkIn(s, 0, 0, cell, cell), 0) << "the space is blank";
    EXPECT_TRUE(HasKey(s));
    for (int i = 1; i < kGlyphCount; ++i) // every visible character has ink
        EXPECT_GT(InkIn(s, (i % columns) * cell, (i / columns) * cell, cell, cell), 0)
            << "glyph for '" << static_cast<char>(32 + i) << "'";
}

TEST_F(GfxArchive, FontsCoverAscii32To95)
{
    Picture small, big;
    Load("font", small);
    Load("fontbig", big);
    ExpectFont(small.surface, 8);
    ExpectFont(big.surface, 16);
}

TEST_F(GfxArchive, LogoIsKeyedAndClearsTheMenu)
{
    Picture p;
    Load("logo", p);
    EXPECT_LE(p.surface->w, kScreenWidth);
    EXPECT_LE(p.surface->h, 72);
    const int top = (240 - p.surface->h) / 2 - 56;
    EXPECT_GE(top, 0);
    EXPECT_LE(top + p.surface->h, kFirstMenuItemY);
    EXPECT_TRUE(HasKey(p.surface));
}

// --- the picture compiler itself

const char* const kCompiler = FRIBB3_BINARY_DIR "/tools/gfxc/gfxc";
const std::string kSources = FRIBB3_SOURCE_DIR "/content/gfx";

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() /
            ("gfxc_test_" + std::to_string(getpid()) + "_" + name)).string();
}

std::vector<uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// Runs gfxc with the arguments; returns its exit status and what it printed on stderr.
int RunCompiler(const std::string& args, std::string& errors)
{
    const std::string errFile = TempPath("stderr.txt");
    const int status = std::system((std::string(kCompiler) + " " + args + " 2>" + errFile).c_str());
    const std::vector<uint8_t> text = FileBytes(errFile);
    errors.assign(text.begin(), text.end());
    std::remove(errFile.c_str());
    return status;
}

std::string TileSources()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(kSources + "/tiles"))
        if (entry.path().extension() == ".txt")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    std::string joined;
    for (const std::string& f : files)
        joined += " " + f;
    return joined;
}

TEST(GfxCompiler, RebuildingTheTileSheetGivesTheArchivedBytes)
{
    const std::string out = TempPath("blocks.bmp");
    std::string errors;
    ASSERT_EQ(RunCompiler("tiles " + kSources + "/palette.txt " + out + TileSources(), errors), 0) << errors;
    const std::vector<uint8_t> fresh = FileBytes(out);
    std::remove(out.c_str());
    OpenArchiveFile(ArchiveGfx, FRIBB3_BINARY_DIR "/data/gfx.zda");
    size_t size = 0;
    uint8_t* archived = ReadArchiveEntry(ArchiveGfx, "blocks", "bmp", &size);
    CloseArchives();
    ASSERT_NE(archived, nullptr);
    const std::vector<uint8_t> stored(archived, archived + size);
    std::free(archived);
    EXPECT_EQ(fresh, stored) << "the same sources must give the same bytes";
}

TEST(GfxCompiler, BadSourcesStopTheBuildNamingFileAndLine)
{
    const std::string source = TempPath("bad.txt");
    const std::string out = TempPath("bad.bmp");
    auto rows = [](int count, const std::string& row) {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += row + "\n";
        return text;
    };
    const std::string blank(16, '.');
    struct Case {
        std::string text;
        std::string expected; // part of the message
    };
    const Case cases[] = {
        {"tile 0x29 ring\n" + blank + "\n" + blank.substr(1) + "\n", "rows of 'tile:41' differ in width"},
        {"tile 3 stray colour\n" + rows(16, blank.substr(1) + "Z"), "colour 'Z' is not in the palette"},
        {"tile 240 one too many\n" + rows(16, blank), "tile code 240 is beyond the sheet"},
        {"tile 0x29 too short\n" + rows(15, blank), "tile 41 is not 16x16"},
        {"tile 5 = 6 mirror\ntile 6 = 5 flip\n", "block 'tile:5' derives from itself"},
        {"tile 7 = 8 wobble\ntile 8 plain\n" + rows(16, blank), "unknown or incomplete operation 'wobble'"},
        {"tile 7 = 9 mirror\n", "unknown block 'tile:9'"},
    };
    std::remove(out.c_str());
    for (const Case& c : cases) {
        const std::string& text = c.text;
        std::ofstream(source) << text;
        std::string errors;
        EXPECT_NE(RunCompiler("tiles " + kSources + "/palette.txt " + out + " " + source, errors), 0) << c.text;
        EXPECT_NE(errors.find("bad.txt:1: " + c.expected), std::string::npos) << "got: " << errors;
        EXPECT_FALSE(std::filesystem::exists(out)) << "no picture is written for a bad source";
    }
    std::remove(source.c_str());
}

TEST(GfxCompiler, PictureScriptsRefuseUnknownCommandsAndMissingSize)
{
    const std::string script = TempPath("bad.pic");
    const std::string out = TempPath("bad_pic.bmp");
    std::string errors;
    std::ofstream(script) << "fill k\n";
    EXPECT_NE(RunCompiler("picture " + kSources + "/palette.txt " + out + " " + script, errors), 0);
    EXPECT_NE(errors.find("bad.pic:1: the first command must be 'size'"), std::string::npos) << errors;
    std::ofstream(script) << "size 8 8\n# a comment\nsplatter 3\n";
    EXPECT_NE(RunCompiler("picture " + kSources + "/palette.txt " + out + " " + script, errors), 0);
    EXPECT_NE(errors.find("bad.pic:3: unknown command 'splatter'"), std::string::npos) << errors;
    EXPECT_FALSE(std::filesystem::exists(out));
    std::remove(script.c_str());
}

} // namespace
