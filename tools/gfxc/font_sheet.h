// Building a bitmap font sheet (glyphs for ASCII 32..95) from glyph drawings.
#pragma once

#include <string>
#include <vector>

#include "image.h"
#include "pixel_art.h"

constexpr int kFirstGlyph = 32; // the space
constexpr int kGlyphCount = 64; // ASCII 32..95
constexpr int kGlyphsPerRow = 16;

// How drawn glyphs become coloured cells.
struct FontStyle {
    int cell = 8;    // cell width and height in pixels
    int scale = 1;   // each glyph pixel becomes scale x scale
    int offsetX = 0; // where the scaled glyph starts inside its cell
    int offsetY = 0;
    std::vector<Rgb> ramp; // ink colours from the top of the glyph to its bottom
    bool shadow = false;   // a drop shadow one pixel right and down
    Rgb shadowColour = 0;
    bool outline = false; // a one-pixel border all round the ink
    Rgb outlineColour = 0;
};

// The glyph drawing for character c: blocks "art C" ("art space" for the blank),
// rows of 'X' (ink) and '.' (background).
std::string GlyphName(char c);

// A (16 x cell) by (4 x cell) sheet on magenta: glyph i (character 32 + i) in
// cell (i mod 16, i / 16). Throws when a glyph is missing or does not fit its cell.
Image BuildFontSheet(const ArtLibrary& library, const FontStyle& style);
