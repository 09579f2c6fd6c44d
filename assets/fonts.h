// The two bitmap fonts, cut from the gfx images "font" and "fontbig".
#pragma once

#include "platform/draw.h"

// Cell sizes of smallFont and bigFont.
constexpr int kSmallFontCell = 8;
constexpr int kBigFontCell = 16;

// Loads image name (no colour key), cuts it into cellWidth x cellHeight glyphs
// and frees the image. An image smaller than one cell ends the process with
// "Error loading gfx file" (missing and undecodable images as in LoadBitmap).
Font LoadFont(const char* name, int cellWidth, int cellHeight);

// smallFont from "font" (8x8), then bigFont from "fontbig" (16x16).
void LoadFonts();

// Frees smallFont, then bigFont (either may be missing).
void FreeFonts();
