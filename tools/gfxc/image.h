// RGB canvas the picture compiler draws into, and its 24-bit BMP writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A colour as 0xRRGGBB.
using Rgb = uint32_t;

// The transparent key of every keyed picture and glyph: magenta.
constexpr Rgb kKeyColour = 0xFF00FF;

// A width x height picture, row-major from the top-left, every pixel 0xRRGGBB.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;
};

// Returns a picture of the given size filled with one colour.
Image MakeImage(int width, int height, Rgb fill = kKeyColour);

// True when (x, y) lies inside the picture.
bool Inside(const Image& image, int x, int y);

// Pixel at (x, y); the key colour outside the picture.
Rgb PixelAt(const Image& image, int x, int y);

// Sets (x, y) to colour; does nothing outside the picture.
void SetPixel(Image& image, int x, int y, Rgb colour);

// Writes the picture as an uncompressed bottom-up 24-bit BMP. Returns false
// when the file cannot be written. The bytes depend only on the pixels.
bool WriteBmp(const Image& image, const std::string& path);
